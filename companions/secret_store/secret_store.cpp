#include "secret_store.h"

#include <vector>

#include "core/crypto/password.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

constexpr wchar_t kSecretsKey[] = L"SOFTWARE\\Zentaro\\Secrets";

HRESULT FromStatus(LSTATUS status) {
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

std::wstring ValueName(const std::wstring& user, const std::wstring& application) {
    return user + L"|" + application;
}

HRESULT OpenSecrets(REGSAM access, RegKey& key) {
    return FromStatus(::RegOpenKeyExW(HKEY_CURRENT_USER, kSecretsKey, 0, access, key.put()));
}

HRESULT ReadProtected(HKEY secrets, const std::wstring& name, std::vector<BYTE>& bytes) {
    DWORD type = 0, size = 0;
    if (HRESULT hr = FromStatus(::RegQueryValueExW(secrets, name.c_str(), nullptr, &type, nullptr, &size));
        FAILED(hr))
        return hr;
    if (type != REG_BINARY) return HRESULT_FROM_WIN32(ERROR_INVALID_DATATYPE);
    bytes.resize(size);
    return FromStatus(::RegQueryValueExW(secrets, name.c_str(), nullptr, &type, bytes.data(), &size));
}

HRESULT Unprotect(std::vector<BYTE>& stored, DATA_BLOB& secret) {
    DATA_BLOB in{static_cast<DWORD>(stored.size()), stored.data()};
    return ::CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &secret)
               ? S_OK
               : HRESULT_FROM_WIN32(::GetLastError());
}

// The names of the user's secrets: "<user>|" and an application.
std::vector<std::wstring> SecretNames(HKEY secrets, const std::wstring& user) {
    const std::wstring prefix = user + L"|";
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD length = 16384;
        if (::RegEnumValueW(secrets, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::wstring_view found(name, length);
        // Account names are the same whatever their case, as the registry's value names are.
        if (found.size() > prefix.size() && SameNameIgnoringCase(found.substr(0, prefix.size()), prefix))
            names.emplace_back(found);
    }
    return names;
}

bool SecretMatches(HKEY secrets, const std::wstring& name, std::wstring_view password) {
    std::vector<BYTE> stored;
    DATA_BLOB secret{};
    if (FAILED(ReadProtected(secrets, name, stored)) || FAILED(Unprotect(stored, secret))) return false;
    const LocalMemory owner(secret.pbData);
    const bool same = MadeFromPassword(secret, password);
    ::SecureZeroMemory(secret.pbData, secret.cbData);
    return same;
}

}  // namespace

HRESULT ReadStoredSecret(const std::wstring& user, const std::wstring& application, DATA_BLOB& secret) {
    secret = {};
    RegKey secrets;
    if (HRESULT hr = OpenSecrets(KEY_QUERY_VALUE, secrets); FAILED(hr)) return hr;
    std::vector<BYTE> stored;
    if (HRESULT hr = ReadProtected(secrets.get(), ValueName(user, application), stored); FAILED(hr))
        return hr;
    return Unprotect(stored, secret);
}

HRESULT WriteStoredSecret(const std::wstring& user, const std::wstring& application,
                          const DATA_BLOB& secret) {
    DATA_BLOB in{secret.cbData, secret.pbData};
    DATA_BLOB out{};
    if (!::CryptProtectData(&in, L"", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return HRESULT_FROM_WIN32(::GetLastError());
    const LocalMemory owner(out.pbData);
    RegKey secrets;
    if (HRESULT hr = FromStatus(::RegCreateKeyExW(HKEY_CURRENT_USER, kSecretsKey, 0, nullptr, 0,
                                                  KEY_SET_VALUE, nullptr, secrets.put(), nullptr));
        FAILED(hr))
        return hr;
    return FromStatus(::RegSetValueExW(secrets.get(), ValueName(user, application).c_str(), 0, REG_BINARY,
                                       out.pbData, out.cbData));
}

bool UserHasSecret(const std::wstring& user) {
    RegKey secrets;
    return SUCCEEDED(OpenSecrets(KEY_QUERY_VALUE, secrets)) && !SecretNames(secrets.get(), user).empty();
}

bool MadeFromPassword(const DATA_BLOB& secret, std::wstring_view password) {
    core::Md4Digest candidate = core::PasswordSecret(AsU16(password));
    const bool same = core::SameSecret({secret.pbData, secret.cbData}, candidate);
    ::SecureZeroMemory(candidate.data(), candidate.size());
    return same;
}

bool IsUsersPassword(const std::wstring& user, std::wstring_view password) {
    RegKey secrets;
    if (FAILED(OpenSecrets(KEY_QUERY_VALUE, secrets))) return false;
    bool matches = false;
    // Every secret is compared, also after a match, so the time taken does not tell which one.
    for (const std::wstring& name : SecretNames(secrets.get(), user))
        matches = SecretMatches(secrets.get(), name, password) || matches;
    return matches;
}
