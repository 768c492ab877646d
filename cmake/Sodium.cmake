# zt::sodium, libsodium for every build, linked statically everywhere, so that what ships carries
# it inside. Natively Debian's libsodium-dev, its archive found through pkg-config: ztrec's
# package then asks for nothing beyond the C library.
# For Windows, Debian's source of the same version, fetched by apt into the build tree and built
# there with the MinGW compiler, linked statically: the programs carry it inside, and the
# library the suite ships is the one Debian maintains, patches included.
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SODIUM REQUIRED libsodium)
  find_library(ZT_SODIUM_ARCHIVE NAMES libsodium.a HINTS ${SODIUM_LIBRARY_DIRS} REQUIRED)
  find_package(Threads REQUIRED)
  add_library(zt::sodium STATIC IMPORTED GLOBAL)
  set_target_properties(zt::sodium PROPERTIES IMPORTED_LOCATION ${ZT_SODIUM_ARCHIVE}
                                              INTERFACE_LINK_LIBRARIES Threads::Threads)
  if(SODIUM_INCLUDE_DIRS)
    set_target_properties(zt::sodium PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${SODIUM_INCLUDE_DIRS}")
  endif()
  return()
endif()

execute_process(COMMAND dpkg-query -W -f=\${Version} libsodium-dev
                OUTPUT_VARIABLE ZT_SODIUM_VERSION RESULT_VARIABLE failed)
if(failed OR NOT ZT_SODIUM_VERSION)
  message(FATAL_ERROR "libsodium-dev is not installed: run scripts/install-deps")
endif()

include(ExternalProject)
# Through the same compiler cache as the suite's own sources, when one is used.
string(JOIN " " cc ${CMAKE_C_COMPILER_LAUNCHER} ${CMAKE_C_COMPILER})
set(root ${CMAKE_BINARY_DIR}/_deps/libsodium)
set(library ${root}/install/lib/libsodium.a)
# The full library, as natively, so that what links there links here too. Its random source
# is RtlGenRandom (ADVAPI32!SystemFunction036), which XP has: no option is needed for XP.
ExternalProject_Add(sodium_build
  PREFIX ${root}
  DOWNLOAD_DIR ${root}/download
  SOURCE_DIR ${root}/source
  BINARY_DIR ${root}/build
  INSTALL_DIR ${root}/install
  DOWNLOAD_COMMAND ${CMAKE_CURRENT_LIST_DIR}/debian-source libsodium ${ZT_SODIUM_VERSION}
                   <DOWNLOAD_DIR> <SOURCE_DIR>
  CONFIGURE_COMMAND <SOURCE_DIR>/configure -q --host=${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32
                    "CC=${cc}" --prefix=<INSTALL_DIR> --disable-dependency-tracking
                    --disable-shared --enable-static --disable-pie
  BUILD_COMMAND make -j2
  INSTALL_COMMAND make install
  BUILD_BYPRODUCTS ${library}
  LOG_DOWNLOAD ON LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON)

# The folder must exist when the target is declared; the build fills it.
file(MAKE_DIRECTORY ${root}/install/include)
add_library(zt::sodium STATIC IMPORTED GLOBAL)
set_target_properties(zt::sodium PROPERTIES
  IMPORTED_LOCATION ${library}
  INTERFACE_INCLUDE_DIRECTORIES ${root}/install/include
  INTERFACE_COMPILE_DEFINITIONS SODIUM_STATIC
  INTERFACE_LINK_LIBRARIES advapi32)
add_dependencies(zt::sodium sodium_build)
