# Unicode Win32 programs for Windows XP and later (docs/architecture.md, "Oldest Windows"),
# linked so that they need only system DLLs. The headers declare only what Windows XP has, so a
# newer call does not compile unless it is looked up at run time. The tests, which run only
# under Wine, may use Vista's calls (zt_tests_may_use_vista in the top-level list file).
set(ZT_SHIPPED_WINNT _WIN32_WINNT=0x0501 WINVER=0x0501)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX ${ZT_SHIPPED_WINNT})
add_link_options(-static -static-libgcc -static-libstdc++)

# The runtime's import newer than Windows XP, resolved at run time instead
# (win/runtime_imports.cpp). Linked as an object into every program and library, so that its
# import slot is there before the runtime's libraries are searched.
add_library(ztruntime_imports OBJECT ${CMAKE_SOURCE_DIR}/win/runtime_imports.cpp)
target_include_directories(ztruntime_imports PRIVATE ${CMAKE_SOURCE_DIR})
link_libraries(ztruntime_imports)

function(zt_tests_may_use_vista)
  get_directory_property(definitions COMPILE_DEFINITIONS)
  list(REMOVE_ITEM definitions ${ZT_SHIPPED_WINNT})
  list(APPEND definitions _WIN32_WINNT=0x0600 WINVER=0x0600)
  set_directory_properties(PROPERTIES COMPILE_DEFINITIONS "${definitions}")
endfunction()

# Tests run under Wine in a prefix private to this build folder.
set(ZT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_SOURCE_DIR}/tests/tools/wine-run;${ZT_WINEPREFIX}" CACHE STRING "" FORCE)
