# The Debian package of ztrec: the command and its manual page. scripts/package configures a
# native tree without the sanitizers for it and runs CPack there.
set(ZT_PACKAGE_MAINTAINER "Tapwise Crypto team <crypto-team@tapwise.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE architecture
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT architecture)
  set(architecture amd64)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ztrec)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "decrypt and encrypt the .zte files of Tapwise Crypto")
# CPack puts the summary before this as the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tapwise Crypto encrypts files on Windows into .zte files. ztrec decrypts them,\n\
and encrypts files for the suite to open, on any machine, given the password\n\
from which the suite made the user's secret.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${architecture})
# The dependencies on shared libraries as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME ztrec_${PROJECT_VERSION}_${architecture}.deb)
include(CPack)
