#include "setup/installation_folder.h"

#include <windows.h>

#include "core/registration/registry_keys.h"
#include "win/registry.h"
#include "win/system_library.h"
#include "win/windows_version.h"

namespace {

// IsWow64Process is looked up, not imported: systems before XP SP2 lack it, and an import
// would keep the program from starting there.
bool RunsUnderWow64() {
    if (!IsWindowsVistaOrLater()) return false;
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process = Kernel32Function<IsWow64ProcessFn>("IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

std::wstring ReadInstallationFolder() {
    const REGSAM view = RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
    const RegKey key = TryOpenKey(HKEY_LOCAL_MACHINE, kZentaroKey, KEY_READ | view);
    return TryReadExpandedString(key.get(), L"ZentaroPath").value_or(L"");
}
