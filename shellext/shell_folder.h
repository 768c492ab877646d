#pragma once
#include <string>

// True when the path lies in the special folder (a CSIDL number) as the shell folder library
// names it: its ANSI path found anywhere in the path's ANSI form, case-sensitively. False
// when the library or the folder cannot be had.
bool IsInShellFolder(const std::wstring& path, int folderId);
