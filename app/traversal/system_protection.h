#pragma once
#include <string>

// True when Windows File Protection guards the file. Without Sfc.dll, or without its query,
// nothing is protected.
bool IsSystemProtected(const std::wstring& path);
