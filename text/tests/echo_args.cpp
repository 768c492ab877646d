// Stands in for a program that the code under test starts: writes the arguments it was
// given (the command line after the program's name) to the file named by ZT_ECHO_ARGS_FILE.
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

int wmain() {
    wchar_t target[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"ZT_ECHO_ARGS_FILE", target, MAX_PATH)) return 1;
    std::wstring line = ::GetCommandLineW();
    const bool quoted = !line.empty() && line[0] == L'"';
    std::size_t end = quoted ? line.find(L'"', 1) : line.find(L' ');
    std::wstring args = end == std::wstring::npos ? L"" : line.substr(end + 1);
    args.erase(0, args.find_first_not_of(L' '));
    const std::string bytes(args.begin(), args.end());
    // Written under another name and then renamed, so a reader never sees half of it.
    const std::wstring partial = std::wstring(target) + L".part";
    FileHandle file(::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return 1;
    DWORD written = 0;
    ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    file.reset();
    return ::MoveFileW(partial.c_str(), target) ? 0 : 1;
}
