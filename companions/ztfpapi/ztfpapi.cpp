// The fingerprint library stand-in. Secrets live in the user's own registry hive, each one
// protected with CryptProtectData for that user, under "<user>|<application>". A verification
// handle is good once: the verification stand-in leaves it in the value below and
// authenticating takes it away.
#include <windows.h>

#include <wincrypt.h>

#include <string>
#include <vector>

#include "win/unique_handle.h"

namespace {

constexpr wchar_t kSecretsKey[] = L"SOFTWARE\\Zentaro\\Secrets";
constexpr wchar_t kVerificationKey[] = L"SOFTWARE\\Zentaro\\Verification";
constexpr wchar_t kHandleValue[] = L"Handle";

LONG initCount = 0;

HRESULT FromStatus(LSTATUS status) {
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

HRESULT LastError() {
    return HRESULT_FROM_WIN32(::GetLastError());
}

std::wstring ValueName(const wchar_t* user, const wchar_t* application) {
    return std::wstring(user) + L"|" + application;
}

HRESULT ReadProtected(const std::wstring& name, std::vector<BYTE>& bytes) {
    RegKey key;
    if (HRESULT hr =
            FromStatus(::RegOpenKeyExW(HKEY_CURRENT_USER, kSecretsKey, 0, KEY_QUERY_VALUE, key.put()));
        FAILED(hr))
        return hr;
    DWORD type = 0, size = 0;
    if (HRESULT hr = FromStatus(::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size));
        FAILED(hr))
        return hr;
    if (type != REG_BINARY) return HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE);
    bytes.resize(size);
    return FromStatus(::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, bytes.data(), &size));
}

// The stored secret in a buffer that ZTFPBufferFree releases.
HRESULT ReadSecret(const wchar_t* user, const wchar_t* application, DATA_BLOB* secret) {
    if (!user || !application || !secret) return E_INVALIDARG;
    *secret = {};
    std::vector<BYTE> stored;
    if (HRESULT hr = ReadProtected(ValueName(user, application), stored); FAILED(hr)) return hr;
    DATA_BLOB in{static_cast<DWORD>(stored.size()), stored.data()};
    return ::CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, secret)
               ? S_OK
               : LastError();
}

// A handle counts once, and only the one the verification stand-in issued last.
bool TakeIssuedHandle(DWORD handle) {
    RegKey key;
    if (handle == 0 ||
        ::RegOpenKeyExW(HKEY_CURRENT_USER, kVerificationKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()))
        return false;
    DWORD issued = 0, type = 0, size = sizeof(issued);
    if (::RegQueryValueExW(key.get(), kHandleValue, nullptr, &type, reinterpret_cast<BYTE*>(&issued),
                           &size) ||
        type != REG_DWORD || issued != handle)
        return false;
    return ::RegDeleteValueW(key.get(), kHandleValue) == ERROR_SUCCESS;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI ZTFPInit() {
    ::InterlockedIncrement(&initCount);
    return S_OK;
}

// A Term without its Init is refused rather than letting the count go negative.
extern "C" __declspec(dllexport) HRESULT WINAPI ZTFPTerm() {
    for (LONG count = initCount; count > 0; count = initCount) {
        if (::InterlockedCompareExchange(&initCount, count - 1, count) == count) return S_OK;
    }
    return E_UNEXPECTED;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTFPAuthenticate(DWORD handle, const wchar_t* user, DWORD, DWORD, const wchar_t* application,
                     DATA_BLOB* secret) {
    if (!TakeIssuedHandle(handle)) return E_ACCESSDENIED;
    return ReadSecret(user, application, secret);
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTFPAuthenticateWithPassword(const wchar_t* user, DWORD, const wchar_t* password,
                                 const wchar_t* application, DATA_BLOB* secret) {
    if (!password || !*password) return E_ACCESSDENIED;
    return ReadSecret(user, application, secret);
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTFPWriteSecretContent(const wchar_t* user, DWORD, const wchar_t* application, const DATA_BLOB* secret,
                           DWORD) {
    if (!user || !application || !secret || !secret->pbData) return E_INVALIDARG;
    DATA_BLOB in{secret->cbData, secret->pbData};
    DATA_BLOB out{};
    if (!::CryptProtectData(&in, L"", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return LastError();
    const LocalMemory owner(out.pbData);
    RegKey key;
    if (HRESULT hr = FromStatus(::RegCreateKeyExW(HKEY_CURRENT_USER, kSecretsKey, 0, nullptr, 0,
                                                  KEY_SET_VALUE, nullptr, key.put(), nullptr));
        FAILED(hr))
        return hr;
    return FromStatus(::RegSetValueExW(key.get(), ValueName(user, application).c_str(), 0, REG_BINARY,
                                       out.pbData, out.cbData));
}

extern "C" __declspec(dllexport) void WINAPI ZTFPBufferFree(void* buffer) {
    if (!buffer) return;
    ::SecureZeroMemory(buffer, ::LocalSize(buffer));
    ::LocalFree(buffer);
}
