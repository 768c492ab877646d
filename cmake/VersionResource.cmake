# zt_version_file(program type description output): writes the resource script of a version
# resource for program (type EXECUTABLE or a library type) carrying the project's version, so
# that the file version can be read back at run time.
function(zt_version_file program type description output)
  set(ZT_VERSION_TARGET ${program})
  set(ZT_VERSION_DESCRIPTION "${description}")
  if(type STREQUAL "EXECUTABLE")
    set(ZT_VERSION_FILETYPE VFT_APP)
    set(ZT_VERSION_FILENAME ${program}.exe)
  else()
    set(ZT_VERSION_FILETYPE VFT_DLL)
    set(ZT_VERSION_FILENAME ${program}.dll)
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${output} @ONLY)
endfunction()

# zt_version_resource(target "description"): gives an executable or DLL its version resource,
# named after the file the target builds (its OUTPUT_NAME when it has one).
function(zt_version_resource target description)
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  zt_version_file(${name} ${type} "${description}" ${rc})
  target_sources(${target} PRIVATE ${rc})
endfunction()
