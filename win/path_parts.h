#pragma once
#include <string>
#include <string_view>

// The one splitter of Windows paths: a path's final component is what follows its last "\",
// "/" or ":".

// The final component: "C:\docs\a.txt" gives "a.txt".
std::wstring FileNameOf(const std::wstring& path);
// Everything before the final component, with its separator: "C:\docs\".
std::wstring FolderOf(const std::wstring& path);
// The final component's extension with its dot ("archive.tar.gz" gives ".gz"), or empty.
std::wstring ExtensionOf(const std::wstring& path);

// The parts of a path: folder with its final separator (drive included), base name, and the
// extension with its dot; the latter two are empty when absent.
struct PathParts {
    std::wstring folder;
    std::wstring base;
    std::wstring extension;
};
PathParts SplitPath(const std::wstring& path);

// The folder with a backslash added unless it is empty or already ends in a separator.
std::wstring WithTrailingSeparator(std::wstring folder);
// The folder and a name in it, with one separator between them also when the folder is a
// drive's root and already ends in one.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// Whether two names are the same name to Windows: its file systems, and its accounts, compare
// names without case, upper-casing each unit as the kernel does.
bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b);

// True when a file or folder of that name exists (found by a search, as a user would).
bool PathIsTaken(const std::wstring& path);
bool PathExists(const std::wstring& path);
