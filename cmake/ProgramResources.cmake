# zt_program_resources(library program "description" script icon): the resources of a
# program as an object library: its resource script (beside resource_ids.h, which it and the
# code include), its icon, drawn as text in icon.svg and turned into icon.ico beside the
# compiled script at build time, and a version resource that names the program. Resource
# objects must be linked directly, since a linker drops them from a static archive: the
# program and the tests that read its texts link the library.
find_program(ZT_CONVERT convert REQUIRED)
find_program(ZT_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ZT_ICOTOOL icotool REQUIRED)

# zt_text_picture(kind source output "what"): a picture drawn as text (source, beside the
# CMakeLists.txt) turned into output at build time by cmake/make-KIND, where kind is icon (from
# an SVG drawing, rendered at every size an icon holds) or bitmap (from XPM pixel art; a further
# argument enlarges it to that many per cent, for a higher DPI).
function(zt_text_picture kind source output what)
  set(maker ${CMAKE_SOURCE_DIR}/cmake/make-${kind})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E env ZT_CONVERT=${ZT_CONVERT} ZT_RSVG_CONVERT=${ZT_RSVG_CONVERT}
            ZT_ICOTOOL=${ZT_ICOTOOL} ${maker} ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${output} ${ARGN}
    DEPENDS ${maker} ${CMAKE_CURRENT_SOURCE_DIR}/${source}
    COMMENT "Building ${what}")
endfunction()

function(zt_program_resources library program description script icon)
  get_filename_component(icon_name ${icon} NAME_WE)
  set(ico ${CMAKE_CURRENT_BINARY_DIR}/${icon_name}.ico)
  zt_text_picture(icon ${icon} ${ico} "the ${program} icon")
  add_custom_target(${library}_icon DEPENDS ${ico})

  set(version ${CMAKE_CURRENT_BINARY_DIR}/${library}_version.rc)
  zt_version_file(${program} EXECUTABLE "${description}" ${version})

  add_library(${library} OBJECT ${script} ${version})
  target_include_directories(${library} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}
                                                ${CMAKE_SOURCE_DIR})
  set(shared
      ${CMAKE_SOURCE_DIR}/text/text_ids.h ${CMAKE_SOURCE_DIR}/text/text_resources.rc
      ${CMAKE_SOURCE_DIR}/ui/ui_ids.h ${CMAKE_SOURCE_DIR}/ui/ui_resources.rc
      ${CMAKE_SOURCE_DIR}/engine/engine_ids.h ${CMAKE_SOURCE_DIR}/engine/engine_resources.rc)
  set_source_files_properties(${script} PROPERTIES
    OBJECT_DEPENDS "${ico};${CMAKE_CURRENT_SOURCE_DIR}/resource_ids.h;${shared}")
  add_dependencies(${library} ${library}_icon)
endfunction()
