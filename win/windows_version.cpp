#include "win/windows_version.h"

#include <windows.h>

namespace {

bool ReadVersion(OSVERSIONINFOW& version) {
    version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return ::GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

bool IsNtPlatform() {
    OSVERSIONINFOW version;
    return ReadVersion(version);
}

bool IsWindowsVistaOrLater() {
    OSVERSIONINFOW version;
    return ReadVersion(version) && version.dwMajorVersion >= 6;
}
