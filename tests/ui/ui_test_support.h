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

// A console program beside the test program, started with the arguments; what it prints is
// kept for the test. One still running when the object goes is ended.
class CapturedRun {
public:
    CapturedRun(const std::wstring& program, const std::wstring& arguments);
    ~CapturedRun();
    CapturedRun(const CapturedRun&) = delete;
    CapturedRun& operator=(const CapturedRun&) = delete;

    // Waits for the program to end; its exit code, and what it printed in output.
    DWORD Finish(std::string& output, DWORD timeoutMs = 30000);

private:
    std::wstring program_;
    TempFolder folder_;
    std::wstring outputPath_;
    KernelHandle process_;
};

// uidrive, answering a dialog that the test then shows.
class UiDriver : public CapturedRun {
public:
    explicit UiDriver(const std::wstring& arguments) : CapturedRun(L"uidrive.exe", arguments) {}
};
