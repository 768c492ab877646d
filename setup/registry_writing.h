#pragma once
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

// Creates or opens a key for reading, creating sub-keys and setting values; an empty key
// when that fails, with the reason in status when asked for.
RegKey CreateWritableKey(HKEY parent, const wchar_t* subKey, LSTATUS* status = nullptr);
// The same inside an operation: the registry's error is thrown.
RegKey CreateKey(HKEY parent, const wchar_t* subKey);

// Sets a REG_SZ value (null name: the default value); the write's status.
LSTATUS SetStringValue(HKEY key, const wchar_t* name, const std::wstring& text);
// The same inside an operation: the registry's error is thrown.
void WriteStringValue(HKEY key, const wchar_t* name, const std::wstring& text);

// Deletes a key with everything below it, sub-keys first; the status of the first call that
// failed, ERROR_FILE_NOT_FOUND when the key is missing. Written out rather than left to
// RegDeleteTree, which systems before Vista lack.
LSTATUS DeleteKeyTree(HKEY parent, const wchar_t* subKey);
