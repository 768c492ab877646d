#include "text/product_folders.h"

#include <windows.h>

#include <vector>

#include "text/registry_keys.h"
#include "win/path_parts.h"
#include "win/registry_string.h"
#include "win/unique_handle.h"

namespace {

std::wstring EnvironmentVariable(const wchar_t* name) {
    std::vector<wchar_t> buffer(MAX_PATH);
    const DWORD length = ::GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {};
    return std::wstring(buffer.data(), length);
}

}  // namespace

std::wstring GetBinFolder() {
    RegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApplicationsKey, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        // Without a program-files folder there is no place to look; a bare relative
        // "zentaro\bin\" would depend on the current folder.
        const std::wstring programFiles = EnvironmentVariable(L"ProgramFiles");
        return programFiles.empty() ? std::wstring()
                                    : WithTrailingSeparator(programFiles) + L"zentaro\\bin\\";
    }
    return WithTrailingSeparator(ReadRegistryString(key.get(), L"BinDir").value_or(L""));
}

std::wstring GetInstallationFolder() {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, kZentaroKey, L"ZentaroPath").value_or(L"");
}
