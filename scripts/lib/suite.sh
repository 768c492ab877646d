# The installed suite in a Wine prefix, shared by install-suite, zt and demo. Callers set
# root (the repository), and suite_prefix before calling suite_folders.

# The programs an installation carries, as "target path-in-build-folder".
suite_modules=(
  "ZTFileEn app/startup/ZTFileEn.exe"
  "ZtoSet companions/ztoset/ZtoSet.dll"
  "ZTBranding companions/branding/ZTBranding.dll"
  "ZTFPApi companions/ztfpapi/ZTFPApi.dll"
  "ZTSDApi companions/ztsdapi/ZTSDApi.dll"
)

# Where a 32-bit installer puts the product: a 64-bit prefix keeps 32-bit programs in
# "Program Files (x86)", which is also what %ProgramFiles% says to the program itself.
# Sets suite_folder (Windows), suite_bin (Windows) and suite_bin_unix.
suite_folders() {
  local program_files='Program Files'
  [ -d "$suite_prefix/drive_c/Program Files (x86)" ] && program_files='Program Files (x86)'
  suite_folder="C:\\$program_files\\Zentaro\\"
  suite_bin="${suite_folder}bin\\"
  suite_bin_unix="$suite_prefix/drive_c/$program_files/Zentaro/bin"
}

# Wine for the suite's prefix, quiet, without the Mono and Gecko installers.
suite_wine() {
  WINEPREFIX=$suite_prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wine "$@"
}

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
