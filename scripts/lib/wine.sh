# Which Wine runs the suite's Windows programs on this machine, decided in this one place for
# every script and test tool. Source it and call wine_select; it exports
#   ZT_WINE_ARCH    i686 when the machine can run 32-bit programs, else x86_64: the build
#                   whose Windows programs are run and tested here
#   ZT_WINE_LOADER  the Wine loader to start them with
#   ZT_WINE_BIN     a folder with "wine" and "wine-stable" that start that loader; it is put
#                   first on PATH, because Debian's wine and wineboot pick the 32-bit loader
#                   whenever wine32 is installed, even where it cannot run
#   WINEARCH        win64: both kinds of machine use a 64-bit prefix (on the first kind it
#                   runs the 32-bit programs under WOW64, as 64-bit Windows does)
# The decision is made once per run: a script started by another inherits it.
# ZT_WINE32_LOADER names the 32-bit loader to try (the simulation of a machine without
# 32-bit support points it at something that cannot run).

wine_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

wine_select() {
  if [ -z "${ZT_WINE_ARCH:-}" ]; then
    local wine32=${ZT_WINE32_LOADER:-/usr/lib/wine/wine}
    # Tried, not guessed: a kernel without 32-bit support refuses to execute the loader.
    if "$wine32" --version >/dev/null 2>&1; then
      ZT_WINE_ARCH=i686 ZT_WINE_LOADER=$wine32
    else
      ZT_WINE_ARCH=x86_64 ZT_WINE_LOADER=/usr/lib/wine/wine64
    fi
  fi
  ZT_WINE_BIN=$wine_lib_dir/wine-bin
  export ZT_WINE_ARCH ZT_WINE_LOADER ZT_WINE_BIN WINEARCH=win64
  # Wine starts further processes through WINELOADER; it must never fall back to the
  # 32-bit loader on a machine that cannot run it.
  [ "$ZT_WINE_ARCH" = i686 ] || export WINELOADER=$ZT_WINE_LOADER
  case ":$PATH:" in
    *":$ZT_WINE_BIN:"*) ;;
    *) export PATH=$ZT_WINE_BIN:$PATH ;;
  esac
}

# The 64-bit loader for this shell and what it starts, whatever the machine can run: the
# x86_64 build's 64-bit plug-in is tested and installed with it also where the i686 build is
# the one tested.
wine_select_64() {
  ZT_WINE_ARCH=x86_64 ZT_WINE_LOADER=/usr/lib/wine/wine64
  wine_select
}

# One line that says which way the run goes.
wine_describe() {
  if [ "$ZT_WINE_ARCH" = i686 ]; then
    echo "this machine runs 32-bit programs: the Windows tests run on the shipped i686 build"
  else
    echo "this machine cannot run 32-bit programs: the Windows tests ran on the x86_64 build"
  fi
}

# The build folder whose Windows programs run here, below a folder of builds.
wine_build_dir() { echo "$1/$ZT_WINE_ARCH"; }

# The toolchain file of that build.
wine_toolchain() { echo "$(cd "$wine_lib_dir/../.." && pwd)/cmake/toolchain-$ZT_WINE_ARCH-mingw.cmake"; }

# A build's own prefix for its Windows tests, with one persistent wineserver and the Wine keeper
# (tests/tools/wine_keeper.exe), which holds Wine's desktop process and COM services: without
# them every test start costs seconds. wine_tests_start BUILD, then wine_tests_stop BUILD.
wine_tests_start() {
  local prefix=$1/wineprefix wine_run
  wine_run=$(cd "$wine_lib_dir/../.." && pwd)/tests/tools/wine-run
  mkdir -p "$prefix"
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  # Test folders an earlier run could not remove: Wine's folder browser lists them all on its
  # way to a test's folder, and too many of them make its tests miss their moment.
  rm -rf "$prefix"/drive_c/users/*/Temp/zt_test_*
  WINEPREFIX=$prefix wineserver -p
  "$wine_run" "$prefix" cmd /c exit 0 >/dev/null 2>&1
  "$wine_run" "$prefix" "$1/tests/tools/wine_keeper.exe" >/dev/null 2>&1 &
}

# Ends the prefix's wineserver, and the keeper with it.
wine_tests_stop() { WINEPREFIX=$1/wineprefix wineserver -k 2>/dev/null || true; }

# Wine in a prefix, quiet, without the Mono and Gecko installers: wine_in PREFIX PROGRAM ARGS...
# The prefix is made on first use, with Wine drawing window frames itself: without a window
# manager on the test display, Wine waits about 2 s for every window it hides otherwise.
wine_in() (
  local prefix=$1
  shift
  wine_select
  export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  exec wine "$@"
)
