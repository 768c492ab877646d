# The installed suite in a Wine prefix, shared by install-suite, zt and demo. Callers set
# root (the repository), and suite_prefix before calling suite_folders.
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
wine_select

# The build whose programs are installed: the one this machine can run, below build/
# unless ZT_SUITE_BUILD names another.
suite_build() { realpath -m "${ZT_SUITE_BUILD:-$(wine_build_dir "$root/build")}"; }

# The setup program of the build (installer/ writes where it puts it), and the file in the
# prefix whose time says when it was last installed there. Need build and suite_prefix.
suite_setup() { cat "$build/installer/setup-path.txt"; }
suite_installed_stamp() { echo "$suite_prefix/.tapwise-crypto-installed"; }

# The registry view the installed programs read by default (reg.exe's /reg: switch).
suite_view() { [ "$ZT_WINE_ARCH" = i686 ] && echo /reg:32 || echo /reg:64; }

# Where an installer puts the product: a 64-bit prefix keeps 32-bit programs in
# "Program Files (x86)", which is also what %ProgramFiles% says to such a program; the
# x86_64 build goes where 64-bit programs go.
# Sets suite_folder and suite_bin (as Windows paths).
suite_folders() {
  local program_files='Program Files'
  [ "$ZT_WINE_ARCH" = i686 ] && [ -d "$suite_prefix/drive_c/Program Files (x86)" ] &&
    program_files='Program Files (x86)'
  suite_folder="C:\\$program_files\\Zentaro\\"
  suite_bin="${suite_folder}bin\\"
}

# Wine for the suite's prefix, quiet, without the Mono and Gecko installers.
suite_wine() { wine_in "$suite_prefix" "$@"; }

# A Linux path as the program sees it (Wine maps / to Z:); anything else unchanged. A path is
# one that exists or that holds a slash after its first character, so that a missing
# "/home/me/a.txt" reaches the program as a missing path, not as the command word "home/me/a.txt".
# The program's command words stay commands even if a folder such as /d exists.
suite_windows_path() {
  case ${1,,} in
    /e | /d | /regserver | /unregserver) echo "$1"; return ;;
  esac
  if [ -e "$1" ] || [[ "${1:1}" == */* ]]; then
    local absolute
    absolute=$(realpath -m -s "$1")
    echo "Z:${absolute//\//\\}"
  else
    echo "$1"
  fi
}

# True when the suite was never installed in the prefix by install-suite, or the build's
# setup program is missing or newer than that installation. Needs build and suite_prefix.
suite_outdated() {
  local stamp setup
  stamp=$(suite_installed_stamp)
  setup=$(suite_setup 2>/dev/null) || return 0
  [ ! -f "$stamp" ] || [ ! -f "$setup" ] || [ "$setup" -nt "$stamp" ]
}

# suite_require_display PROGRAM: ends the script, with a status of 2, where no display is set:
# PROGRAM shows windows that only a person can answer, and on a private display nobody could
# see them, so it would wait for ever. Says where the same job is done without a display.
suite_require_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  {
    echo "$(basename "$0"): no display: $1 asks its questions in windows, and there is no screen to show them on."
    echo "Run it where DISPLAY names a screen; without one, scripts/demo shows the whole job on a sample folder,"
    echo "and ztrec encrypts and decrypts .zte files with a password on the terminal (tools/ztrec/README.md)."
  } >&2
  exit 2
}

# suite_run PROGRAM ARGS...: runs an installed program of the suite with ARGS in the suite's
# prefix (ZT_PREFIX, else build/suite/wineprefix), installing the suite there first when it
# is missing or older than the build (ZT_SUITE_BUILD, else the one this machine runs). Its
# windows appear on $DISPLAY; without one, on a private Xvfb display.
suite_run() {
  local program=$1
  shift
  build=$(suite_build)
  suite_prefix=$(realpath -m "${ZT_PREFIX:-$root/build/suite/wineprefix}")
  suite_folders
  if suite_outdated; then
    "$root/scripts/install-suite" --prefix "$suite_prefix" --build "$build"
    # A prefix made just now has only now the folders that say where the programs went.
    suite_folders
  fi
  if [ -z "${DISPLAY:-}" ]; then
    source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
    start_display
    trap stop_display EXIT
    echo "$(basename "$0"): no display; $program runs on a private Xvfb display $DISPLAY, where its windows cannot be seen" >&2
  fi
  suite_wine "${suite_bin}$program.exe" "$@"
}
