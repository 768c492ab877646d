#include "program_run.h"

#include <gtest/gtest.h>

#include "app/product_folders.h"

std::wstring ProgramPath() {
    return GetProgramFolder() + L"ZTFileEn.exe";
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

ProgramRun::ProgramRun(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started)) {
        ADD_FAILURE() << "cannot start the program, error " << ::GetLastError();
        return;
    }
    process_.reset(started.hProcess);
    const KernelHandle thread(started.hThread);
}

ProgramRun ProgramRun::WithArguments(const std::wstring& arguments) {
    return ProgramRun(Quoted(ProgramPath()) + L" " + arguments);
}

// A run still waiting for an answer when the test gives up must not hold the test's files.
ProgramRun::~ProgramRun() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

bool ProgramRun::EndsWithin(DWORD ms) const {
    return process_ && ::WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0;
}
