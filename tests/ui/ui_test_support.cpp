#include "ui_test_support.h"

#include <vector>

#include "app/product_folders.h"
#include "win/unique_handle.h"

std::wstring FromBuildPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::wstring TestProgramFolder() {
    return GetProgramFolder();
}

void SetRegistryString(HKEY root, const std::wstring& subKey, const wchar_t* name,
                       const std::wstring& value) {
    RegKey key;
    ASSERT_EQ(
        ::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

CapturedRun::CapturedRun(const std::wstring& program, const std::wstring& arguments)
    : program_(program), outputPath_(folder_.Path(L"output.txt")) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    FileHandle output(::CreateFileW(outputPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inherit, CREATE_ALWAYS, 0, nullptr));
    if (!output) {
        ADD_FAILURE() << "cannot create the output file of a test's helper program";
        return;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    std::wstring commandLine = L"\"" + TestProgramFolder() + program_ + L"\" " + arguments;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &started)) {
        ADD_FAILURE() << "cannot start a helper program beside the test program";
        return;
    }
    process_.reset(started.hProcess);
    KernelHandle thread(started.hThread);
}

// A driver still waiting for a window that never came must not outlive the test.
CapturedRun::~CapturedRun() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 99);
        // Its output file must be closed before the folder holding it is removed.
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

DWORD CapturedRun::Finish(std::string& output, DWORD timeoutMs) {
    DWORD code = 99;
    if (!process_) return code;
    if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "a helper program of the test did not end";
        return code;
    }
    ::GetExitCodeProcess(process_.get(), &code);
    // The console host of the ended driver may still hold the file open for writing.
    FileHandle file(::CreateFileW(outputPath_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    char buffer[65536];
    DWORD got = 0;
    if (!file || !::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr))
        ADD_FAILURE() << "no output from a helper program of the test";
    output.assign(buffer, got);
    return code;
}
