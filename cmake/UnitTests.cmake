# zt_unit_tests(): declares the calling folder's unit tests, in its tests/ folder. They are
# added by zt_add_unit_tests() at the end of the top-level list file: there the test tools are
# defined and the tests' settings apply (under Windows the static runtime, and Vista's calls,
# which the shipped code may not make).
function(zt_unit_tests)
  set_property(GLOBAL APPEND PROPERTY ZT_UNIT_TESTS ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

function(zt_add_unit_tests)
  get_property(folders GLOBAL PROPERTY ZT_UNIT_TESTS)
  foreach(folder ${folders})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${folder})
    add_subdirectory(${folder}/tests ${CMAKE_BINARY_DIR}/${relative}/tests)
  endforeach()
endfunction()

# zt_beside(target module...): copies each module beside the test program after every build,
# where the program under test looks for the libraries and helpers it loads or starts.
function(zt_beside target)
  add_dependencies(${target} ${ARGN})
  foreach(module ${ARGN})
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${module}>
                               $<TARGET_FILE_DIR:${target}>)
  endforeach()
endfunction()

# Where the tests that photograph dialogs, menus and pages save their screenshots.
set(ZT_SCREENS ${CMAKE_SOURCE_DIR}/build/screens CACHE PATH "Where the UI tests save their screenshots")
