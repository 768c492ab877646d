#include "app/traversal/system_protection.h"

#include <windows.h>

#include "win/system_library.h"

namespace {

using SfcIsFileProtectedFunction = BOOL(WINAPI*)(HANDLE server, const wchar_t* path);

}  // namespace

bool IsSystemProtected(const std::wstring& path) {
    // The library is absent on some systems; without it nothing counts as protected.
    const Library sfc = LoadSystemLibrary(L"Sfc.dll");
    if (!sfc) return false;
    const auto isProtected = reinterpret_cast<SfcIsFileProtectedFunction>(
        reinterpret_cast<void*>(::GetProcAddress(sfc.get(), "SfcIsFileProtected")));
    return isProtected && isProtected(nullptr, path.c_str());
}
