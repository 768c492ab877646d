#include "win/registry_string.h"

#include <vector>

#include "win/unique_handle.h"

namespace {

std::optional<std::wstring> Expand(const std::wstring& text, std::size_t maxUnits) {
    std::vector<wchar_t> buffer(maxUnits);
    const DWORD needed =
        ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<DWORD>(maxUnits));
    if (needed == 0 || needed > maxUnits) return std::nullopt;
    return std::wstring(buffer.data());
}

}  // namespace

std::optional<std::wstring> ReadRegistryString(HKEY key, const wchar_t* name, std::size_t maxUnits) {
    // One unit more than allowed, so a value without its terminator still ends.
    std::vector<wchar_t> buffer(maxUnits + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(maxUnits * sizeof(wchar_t));
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text(buffer.data());
    if (text.size() >= maxUnits) return std::nullopt;
    return type == REG_EXPAND_SZ ? Expand(text, maxUnits) : text;
}

std::optional<std::wstring> ReadRegistryString(HKEY root, const wchar_t* subKey, const wchar_t* name,
                                               std::size_t maxUnits) {
    RegKey key;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return std::nullopt;
    return ReadRegistryString(key.get(), name, maxUnits);
}
