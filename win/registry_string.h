#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

// A string value (plain or expandable, the latter expanded) of at most maxUnits units
// including its terminator. Nothing when the value is missing, of another type or too long;
// a value stored without its terminator is still read as a whole.
std::optional<std::wstring> ReadRegistryString(HKEY key, const wchar_t* name,
                                               std::size_t maxUnits = MAX_PATH);

// The same from a key opened for reading under root; nothing when the key cannot be opened.
std::optional<std::wstring> ReadRegistryString(HKEY root, const wchar_t* subKey, const wchar_t* name,
                                               std::size_t maxUnits = MAX_PATH);
