#pragma once
#include <windows.h>

// The user's reminder settings under HKEY_CURRENT_USER\SOFTWARE\Zentaro\Applications\Tapwise
// Crypto, both REG_DWORD: reminders on (any value but 0) and their interval in seconds.
inline constexpr wchar_t kEnableNotifyValue[] = L"EnableCryptNotify";
inline constexpr wchar_t kNotifyTimeoutValue[] = L"CryptNotifyTimeout";
inline constexpr DWORD kDefaultEnableNotify = 1;
inline constexpr DWORD kDefaultNotifyTimeout = 10800;

// The value, or the default when the key or value is missing or not a REG_DWORD.
DWORD ReadNotifySetting(const wchar_t* name, DWORD byDefault);
// Stores a REG_DWORD, creating the key; a setting that cannot be stored is not reported.
void WriteNotifySetting(const wchar_t* name, DWORD value);
