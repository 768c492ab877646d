#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "win/unique_handle.h"

// Every registry call of the suite. One naming rule: a plain name (OpenKey, CreateKey,
// SetString, DeleteTree, ReadString) does what it says or throws the registry's error as an
// HResultError; a Try name answers "nothing" where a missing key or value is normal and the
// caller takes its default. Deleting what is not there succeeds, so that removing can be
// run again.

// Opens a key; throws when it cannot be opened with that access.
RegKey OpenKey(HKEY root, const wchar_t* path, REGSAM access = KEY_READ);
// Opens a key; an empty key when it cannot be opened with that access, for any reason.
RegKey TryOpenKey(HKEY root, const wchar_t* path, REGSAM access = KEY_READ);
// Opens a key; an empty key when it is not there, and throws for any other failure.
RegKey OpenKeyIfPresent(HKEY root, const wchar_t* path, REGSAM access);
// Creates or opens a key for reading, creating sub-keys and setting values.
RegKey CreateKey(HKEY parent, const wchar_t* path);

// Sets a value (null name: the key's default value).
void SetString(HKEY key, const wchar_t* name, const std::wstring& text);
void SetDword(HKEY key, const wchar_t* name, DWORD value);
// A REG_MULTI_SZ: every string with its terminator, then one more.
void SetMultiString(HKEY key, const wchar_t* name, const std::vector<std::wstring>& strings);
// Replaces the key's access list with the descriptor's.
void SetKeySecurity(HKEY key, SECURITY_DESCRIPTOR& descriptor);

void DeleteValue(HKEY key, const wchar_t* name);
// Deletes a key that has no sub-keys.
void DeleteKey(HKEY parent, const wchar_t* path);
// Deletes a key with everything below it, sub-keys first. Written out rather than left to
// RegDeleteTree, which systems before Vista lack.
void DeleteTree(HKEY parent, const wchar_t* path);

// A REG_SZ or REG_EXPAND_SZ value as stored (not expanded), of at most maxUnits units with
// its terminator; a value stored without its terminator is still read as a whole. Throws
// ERROR_INVALID_DATATYPE for a value of another type, ERROR_MORE_DATA for a longer one.
std::wstring ReadString(HKEY key, const wchar_t* name, std::size_t maxUnits = MAX_PATH);

// The same, or nothing when the key is null or the value cannot be read as such a string.
std::optional<std::wstring> TryReadString(HKEY key, const wchar_t* name, std::size_t maxUnits = MAX_PATH);
// The same with a REG_EXPAND_SZ value's environment variables expanded; nothing too when the
// expansion does not fit maxUnits.
std::optional<std::wstring> TryReadExpandedString(HKEY key, const wchar_t* name,
                                                  std::size_t maxUnits = MAX_PATH);
// The same from a key opened for reading under root; nothing when it cannot be opened.
std::optional<std::wstring> TryReadExpandedString(HKEY root, const wchar_t* path, const wchar_t* name,
                                                  std::size_t maxUnits = MAX_PATH);
// A REG_DWORD value; nothing when the key is null or the value is missing or of another type.
std::optional<DWORD> TryReadDword(HKEY key, const wchar_t* name);
// A REG_MULTI_SZ value's strings up to the first empty one; nothing when the key is null or
// the value is missing or of another type.
std::optional<std::vector<std::wstring>> TryReadMultiString(HKEY key, const wchar_t* name);

// How many sub-keys and values a key holds; nothing when the key cannot be asked.
struct KeyCounts {
    DWORD subKeys = 0;
    DWORD values = 0;
};
std::optional<KeyCounts> TryReadCounts(HKEY key);

// The names of a key's sub-keys or values, in the registry's order; none for a null key.
std::vector<std::wstring> SubKeyNames(HKEY key);
std::vector<std::wstring> ValueNames(HKEY key);
