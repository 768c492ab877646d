#include "text/product_folders.h"

#include <windows.h>

#include <vector>

#include "core/registration/registry_keys.h"
#include "win/path_parts.h"
#include "win/registry.h"

namespace {

std::wstring EnvironmentVariable(const wchar_t* name) {
    std::vector<wchar_t> buffer(MAX_PATH);
    const DWORD length = ::GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    return std::wstring(buffer.data(), length);
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
