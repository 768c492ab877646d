#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the temporary folder, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::wstring Path(const std::wstring& name) const { return path_ + L"\\" + name; }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

void WriteFileBytes(const std::wstring& path, const Bytes& bytes);
Bytes ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Deterministic test content.
Bytes PatternBytes(std::size_t size, std::uint8_t seed = 7);

std::wstring Quoted(const std::wstring& text);

// The Windows name of a build-tree path that CMake gave as a Unix path (Wine maps "/" to Z:).
std::wstring FromBuildPath(const char* unixPath);

// The folder of the running test program, ending in a backslash.
std::wstring TestProgramFolder();

// A symbolic link to a folder, as a Linux link inside Wine's drive: Wine reports such a link
// as a folder with FILE_ATTRIBUTE_REPARSE_POINT (its CreateSymbolicLinkW makes nothing). The
// link, not its target, is removed when the object goes. Made() is false where Wine's own
// commands cannot make it.
class FolderLink {
public:
    FolderLink(std::wstring link, const std::wstring& target);
    ~FolderLink();
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;
    bool Made() const;

private:
    std::wstring link_;
};

// Writes a string value, creating the key.
void SetRegistryString(HKEY root, const std::wstring& subKey, const wchar_t* name, const std::wstring& value);
// Writes a REG_DWORD value, creating the key.
void SetRegistryDword(HKEY root, const std::wstring& subKey, const wchar_t* name, DWORD value);

// Removes a registry key and everything below it when the test ends.
class RegistryCleanup {
public:
    RegistryCleanup(HKEY root, std::wstring subKey) : root_(root), subKey_(std::move(subKey)) {}
    ~RegistryCleanup() { ::RegDeleteTreeW(root_, subKey_.c_str()); }
    RegistryCleanup(const RegistryCleanup&) = delete;
    RegistryCleanup& operator=(const RegistryCleanup&) = delete;

private:
    HKEY root_;
    std::wstring subKey_;
};
