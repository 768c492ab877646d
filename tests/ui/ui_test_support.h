#pragma once
#include <windows.h>

#include <string>

#include "../win/test_support.h"
#include "win/unique_handle.h"

// The Windows name of a build-tree path that CMake gave as a Unix path (Wine maps "/" to Z:).
std::wstring FromBuildPath(const char* unixPath);

// The folder of the running test program, ending in a backslash.
std::wstring TestProgramFolder();

// Writes a string value, creating the key.
void SetRegistryString(HKEY root, const std::wstring& subKey, const wchar_t* name, const std::wstring& value);

// uidrive, started beside the test program, answering a dialog that the test then shows.
class UiDriver {
public:
    explicit UiDriver(const std::wstring& arguments);
    ~UiDriver();
    UiDriver(const UiDriver&) = delete;
    UiDriver& operator=(const UiDriver&) = delete;

    // Waits for the driver to end; its exit code, and what it printed in output.
    DWORD Finish(std::string& output);

private:
    TempFolder folder_;
    std::wstring outputPath_;
    KernelHandle process_;
};
