#pragma once
#include <string>

// The parts of a full path that the engines name files by.

// The final component: "C:\docs\a.txt" gives "a.txt".
std::wstring FileNameOf(const std::wstring& path);
// Everything before the final component, with its separator: "C:\docs\".
std::wstring FolderOf(const std::wstring& path);
// The final component's extension with its dot ("archive.tar.gz" gives ".gz"), or empty.
std::wstring ExtensionOf(const std::wstring& path);

// True when a file or folder of that name exists (found by a search, as a user would).
bool PathIsTaken(const std::wstring& path);
bool PathExists(const std::wstring& path);
