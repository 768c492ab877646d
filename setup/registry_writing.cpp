#include "setup/registry_writing.h"

#include "win/hresult.h"

RegKey CreateWritableKey(HKEY parent, const wchar_t* subKey, LSTATUS* status) {
    RegKey key;
    const LSTATUS result =
        ::RegCreateKeyExW(parent, subKey, 0, nullptr, 0, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE,
                          nullptr, key.put(), nullptr);
    if (result != ERROR_SUCCESS) key.release();
    if (status) *status = result;
    return key;
}

namespace {

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

}  // namespace

bool SetStringValue(HKEY key, const wchar_t* name, const std::wstring& text) {
    return SetString(key, name, text) == ERROR_SUCCESS;
}

void WriteStringValue(HKEY key, const wchar_t* name, const std::wstring& text) {
    CheckStatus(SetString(key, name, text));
}

bool DeleteKeyTree(HKEY parent, const wchar_t* subKey) {
    {
        RegKey key;
        if (::RegOpenKeyExW(parent, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
        // Always the first sub-key: deleting one renumbers the rest.
        wchar_t child[256];
        for (DWORD units = 256; ::RegEnumKeyExW(key.get(), 0, child, &units, nullptr, nullptr, nullptr,
                                                nullptr) == ERROR_SUCCESS;
             units = 256) {
            if (!DeleteKeyTree(key.get(), child)) return false;
        }
    }
    return ::RegDeleteKeyW(parent, subKey) == ERROR_SUCCESS;
}
