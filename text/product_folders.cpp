#include "text/product_folders.h"

#include <windows.h>

#include "core/registration/registry_keys.h"
#include "win/path_parts.h"
#include "win/registry.h"
#include "win/sized_text.h"

namespace {

std::wstring EnvironmentVariable(const wchar_t* name) {
    return SizedText(
        [&](wchar_t* text, DWORD units) { return ::GetEnvironmentVariableW(name, text, units); });
}

}  // namespace

std::wstring GetBinFolder() {
    const RegKey key = TryOpenKey(HKEY_LOCAL_MACHINE, kApplicationsKey, KEY_QUERY_VALUE);
    if (!key) {
        // Without a program-files folder there is no place to look; a bare relative
        // "zentaro\bin\" would depend on the current folder.
        const std::wstring programFiles = EnvironmentVariable(L"ProgramFiles");
        return programFiles.empty() ? std::wstring()
                                    : WithTrailingSeparator(programFiles) + L"zentaro\\bin\\";
    }
    return WithTrailingSeparator(TryReadExpandedString(key.get(), L"BinDir").value_or(L""));
}

std::wstring GetInstallationFolder() {
    return TryReadExpandedString(HKEY_LOCAL_MACHINE, kZentaroKey, L"ZentaroPath").value_or(L"");
}
