#pragma once
#include <windows.h>

#include <wincrypt.h>

#include <string>
#include <string_view>

// Where the stand-ins keep each user's secrets: under HKEY_CURRENT_USER\SOFTWARE\Zentaro\Secrets,
// one value "<user>|<application>" per secret, protected with CryptProtectData for the user.
// Shared by the fingerprint library stand-in, which stores and hands out secrets, and the
// verification stand-in, which checks a password against them.

// The stored secret, unprotected, in a buffer of LocalAlloc; HRESULT_FROM_WIN32(
// ERROR_FILE_NOT_FOUND) when there is none.
HRESULT ReadStoredSecret(const std::wstring& user, const std::wstring& application, DATA_BLOB& secret);

// Stores the secret, protected for the user.
HRESULT WriteStoredSecret(const std::wstring& user, const std::wstring& application, const DATA_BLOB& secret);

// Whether the user has a secret for any application.
bool UserHasSecret(const std::wstring& user);

// Whether the secret was made from the password on first use: it is the password's MD4,
// compared in constant time.
bool MadeFromPassword(const DATA_BLOB& secret, std::wstring_view password);

// Whether the password is the one a secret of the user, for any application, was made from.
bool IsUsersPassword(const std::wstring& user, std::wstring_view password);
