#include "process_run.h"

ProcessRun::ProcessRun(std::wstring commandLine, bool captureOutput) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    FileHandle output;
    if (captureOutput) {
        folder_ = std::make_unique<TempFolder>();
        outputPath_ = folder_->Path(L"output.txt");
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        output.reset(::CreateFileW(outputPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, CREATE_ALWAYS, 0, nullptr));
        if (!output) {
            ADD_FAILURE() << "cannot create the output file of a program the test starts";
            return;
        }
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.get();
        startup.hStdError = output.get();
    }
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, captureOutput,
                          captureOutput ? CREATE_NO_WINDOW : 0, nullptr, nullptr, &startup, &started)) {
        ADD_FAILURE() << "cannot start a program, error " << ::GetLastError();
        return;
    }
    process_.reset(started.hProcess);
    const KernelHandle thread(started.hThread);
}

ProcessRun::~ProcessRun() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 99);
        // Its output file must be closed before the folder holding it is removed.
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

bool ProcessRun::EndsWithin(DWORD ms) const {
    return process_ && ::WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0;
}

DWORD ProcessRun::Finish(DWORD timeoutMs) {
    DWORD code = 99;
    if (!process_) return code;
    if (!EndsWithin(timeoutMs)) {
        ADD_FAILURE() << "a program the test started did not end";
        return code;
    }
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

DWORD ProcessRun::Finish(std::string& output, DWORD timeoutMs) {
    const DWORD code = Finish(timeoutMs);
    output.clear();
    if (outputPath_.empty()) return code;
    // The console host of the ended program may still hold the file open for writing.
    FileHandle file(::CreateFileW(outputPath_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    char buffer[65536];
    DWORD got = 0;
    if (!file || !::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr))
        ADD_FAILURE() << "no output from a program the test started";
    output.assign(buffer, got);
    return code;
}

std::wstring UiArgument(const std::wstring& text) {
    std::wstring escaped = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        escaped.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        escaped += c;
        backslashes = 0;
    }
    escaped.append(2 * backslashes, L'\\');
    return escaped + L"\"";
}

std::wstring QuotedNames(const std::vector<std::wstring>& names) {
    std::wstring typed;
    for (const std::wstring& name : names) typed += (typed.empty() ? L"" : L" ") + Quoted(name);
    return typed;
}

std::wstring GoToFolder(const std::wstring& folder) {
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    const std::wstring box = std::to_wstring(kOpenDialogFileName);
    return L" --set " + box + L" " + Quoted(folder) + L" --click " + std::to_wstring(IDOK) + L" --wait " +
           std::to_wstring(kOpenDialogFolder) + L" " + Quoted(name) + L" --wait " + box + L" \"\"";
}
