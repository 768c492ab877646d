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
