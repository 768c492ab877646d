// Stands in for ZTFileEn as the open command of "Tapwise Crypto": it leaves the command line
// it was started with in "command-line.txt" beside itself, so that a test sees exactly what
// a plug-in started. While a file "hold" lies beside it (at most two minutes) it keeps
// running, as the program does while it works, so that a test decides when it ends.
#include <windows.h>

#include <string>

#include "win/path_parts.h"
#include "win/this_module.h"
#include "win/unique_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring line = ::GetCommandLineW();
    const std::wstring path = ThisModuleFolder() + L"command-line.txt";
    const std::wstring partial = path + L".part";
    // Written aside and then moved into place, so that a test never reads half a line.
    {
        const FileHandle file(
            ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        const auto bytes = static_cast<DWORD>(line.size() * sizeof(wchar_t));
        if (!file || !::WriteFile(file.get(), line.data(), bytes, &written, nullptr) || written != bytes)
            return 1;
    }
    if (!::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
    const std::wstring hold = ThisModuleFolder() + L"hold";
    for (int waited = 0; waited < 1200 && PathExists(hold); ++waited) ::Sleep(100);
    return 0;
}
