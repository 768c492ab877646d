// Stands in for the program a file type is associated with: started with a file's path, it
// leaves "<path>.opened" holding that path, so that a test can see that the shell opened the
// file and with which name.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "win/unique_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const LocalMemory owner(arguments);
    if (!arguments || count != 2) return 2;
    const std::wstring path = arguments[1];
    const FileHandle marker(
        ::CreateFileW((path + L".opened").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(path.size() * sizeof(wchar_t));
    return marker && ::WriteFile(marker.get(), path.data(), size, &written, nullptr) && written == size ? 0
                                                                                                        : 1;
}
