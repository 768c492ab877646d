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

RegKey CreateKey(HKEY parent, const wchar_t* subKey) {
    LSTATUS status = ERROR_SUCCESS;
    RegKey key = CreateWritableKey(parent, subKey, &status);
    CheckStatus(status);
    return key;
}

LSTATUS SetStringValue(HKEY key, const wchar_t* name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

void WriteStringValue(HKEY key, const wchar_t* name, const std::wstring& text) {
    CheckStatus(SetStringValue(key, name, text));
}

LSTATUS DeleteKeyTree(HKEY parent, const wchar_t* subKey) {
    {
        RegKey key;
        if (const LSTATUS status = ::RegOpenKeyExW(parent, subKey, 0, KEY_READ, key.put())) return status;
        // Always the first sub-key: deleting one renumbers the rest.
        wchar_t child[256];
        for (DWORD units = 256; ::RegEnumKeyExW(key.get(), 0, child, &units, nullptr, nullptr, nullptr,
                                                nullptr) == ERROR_SUCCESS;
             units = 256) {
            if (const LSTATUS status = DeleteKeyTree(key.get(), child)) return status;
        }
    }
    return ::RegDeleteKeyW(parent, subKey);
}
