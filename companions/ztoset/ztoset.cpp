// The settings library stand-in. Each setting is a string value of the per-user key below,
// named like the setting, so a test or a person sets "is_personalmode" or
// "show_encrypt_icon" with the registry editor.
#include <windows.h>
// oleauto.h needs windows.h first.
#include <oleauto.h>

#include <string>
#include <vector>

#include "win/unique_handle.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zentaro\\Settings";

// The caller's request: its own size, the setting's name, and where the value goes.
struct SettingsRequest {
    DWORD size;
    BSTR name;
    BSTR* value;
};

bool IsValid(const SettingsRequest* request) {
    return request && request->size == sizeof(SettingsRequest) && request->name && request->value;
}

HRESULT FromStatus(LSTATUS status) {
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

HRESULT ReadSetting(const wchar_t* name, std::wstring& text) {
    RegKey key;
    if (LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.put())) {
        return FromStatus(status);
    }
    DWORD type = 0;
    DWORD bytes = 0;
    if (LSTATUS status = ::RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &bytes)) {
        return FromStatus(status);
    }
    if (type != REG_SZ) return HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE);
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (LSTATUS status = ::RegQueryValueExW(key.get(), name, nullptr, &type,
                                            reinterpret_cast<BYTE*>(buffer.data()), &bytes)) {
        return FromStatus(status);
    }
    text = buffer.data();
    return S_OK;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI api_settings_query(SettingsRequest* request) {
    if (!IsValid(request)) return E_INVALIDARG;
    std::wstring text;
    if (HRESULT hr = ReadSetting(request->name, text); FAILED(hr)) return hr;
    *request->value = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *request->value ? S_OK : E_OUTOFMEMORY;
}

extern "C" __declspec(dllexport) HRESULT WINAPI api_settings_set(SettingsRequest* request) {
    if (!IsValid(request) || !*request->value) return E_INVALIDARG;
    RegKey key;
    if (LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                                           nullptr, key.put(), nullptr)) {
        return FromStatus(status);
    }
    const BSTR value = *request->value;
    return FromStatus(::RegSetValueExW(key.get(), request->name, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value),
                                       (::SysStringLen(value) + 1) * sizeof(wchar_t)));
}
