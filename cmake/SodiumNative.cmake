# Temporary: libsodium for the native tree only, through pkg-config, as the target zt::sodium.
# The Windows trees get their own zt::sodium separately; this file goes once they do.
if(WIN32 OR TARGET zt::sodium)
  return()
endif()
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(ZT_SODIUM QUIET IMPORTED_TARGET GLOBAL libsodium)
endif()
if(ZT_SODIUM_FOUND)
  add_library(zt::sodium ALIAS PkgConfig::ZT_SODIUM)
else()
  message(STATUS "libsodium not found (apt install libsodium-dev): the sealed file format is left out")
endif()
