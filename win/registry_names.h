#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The names of a key's sub-keys, in the registry's order; none for a null key.
std::vector<std::wstring> SubKeyNames(HKEY key);
