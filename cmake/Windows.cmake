# Unicode Win32 programs for Windows 2000 and later, linked so that they need only system DLLs.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0600 WINVER=0x0600)
add_link_options(-static -static-libgcc -static-libstdc++)

# Tests run under Wine in a prefix private to this build folder.
set(ZT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_SOURCE_DIR}/tests/tools/wine-run;${ZT_WINEPREFIX}" CACHE STRING "" FORCE)
