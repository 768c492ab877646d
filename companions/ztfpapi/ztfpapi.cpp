// The fingerprint library stand-in. Secrets live in the user's own registry hive, each one
// protected with CryptProtectData for that user, under "<user>|<application>"
// (companions/secret_store). A verification handle is good once: the verification stand-in
// leaves it in the value below and authenticating takes it away. Authenticating with a
// password gives the secret only for the password it was made from.
#include <windows.h>

#include <wincrypt.h>

#include <string>
#include <vector>

#include "companions/secret_store/secret_store.h"
#include "win/unique_handle.h"

extern "C" __declspec(dllexport) void WINAPI ZTFPBufferFree(void* buffer);

namespace {

constexpr wchar_t kVerificationKey[] = L"SOFTWARE\\Zentaro\\Verification";
constexpr wchar_t kHandleValue[] = L"Handle";

LONG initCount = 0;

// The stored secret in a buffer that ZTFPBufferFree releases.
HRESULT ReadSecret(const wchar_t* user, const wchar_t* application, DATA_BLOB* secret) {
    if (!user || !application || !secret) return E_INVALIDARG;
    return ReadStoredSecret(user, application, *secret);
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

// Only the password the secret was made from on first use gets it. With no secret stored the
// answer is that there is none, so that the program creates one.
extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTFPAuthenticateWithPassword(const wchar_t* user, DWORD, const wchar_t* password,
                                 const wchar_t* application, DATA_BLOB* secret) {
    if (!password || !*password) return E_ACCESSDENIED;
    const HRESULT hr = ReadSecret(user, application, secret);
    if (FAILED(hr)) return hr;
    if (MadeFromPassword(*secret, password)) return S_OK;
    ZTFPBufferFree(secret->pbData);
    *secret = {};
    return E_ACCESSDENIED;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTFPWriteSecretContent(const wchar_t* user, DWORD, const wchar_t* application, const DATA_BLOB* secret,
                           DWORD) {
    if (!user || !application || !secret || !secret->pbData) return E_INVALIDARG;
    return WriteStoredSecret(user, application, *secret);
}

extern "C" __declspec(dllexport) void WINAPI ZTFPBufferFree(void* buffer) {
    if (!buffer) return;
    ::SecureZeroMemory(buffer, ::LocalSize(buffer));
    ::LocalFree(buffer);
}
