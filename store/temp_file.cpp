#include "store/temp_file.h"

#include <windows.h>

#include <cwchar>

#include "win/hresult.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"

// GetTempFileNameW refuses a folder longer than MAX_PATH - 14 units and writes into a buffer
// of MAX_PATH, and the store's folder below the application-data folder may be longer; so
// the name is found here as that call finds it: "ztuXXXX.tmp", counting up from the clock.
CTempFile::CTempFile(const std::wstring& folder) {
    const auto start = static_cast<WORD>(::GetTickCount());
    for (unsigned attempt = 0; attempt <= 0xFFFF; ++attempt) {
        wchar_t name[16] = {};
        std::swprintf(name, std::size(name), L"ztu%04X.tmp", static_cast<WORD>(start + attempt));
        const std::wstring path = JoinPath(folder, name);
        const FileHandle file(::CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            path_ = path;
            return;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) ThrowLastError();
    }
    ThrowWin32(ERROR_FILE_EXISTS);
}

CTempFile::~CTempFile() {
    if (!path_.empty()) ::DeleteFileW(LongPathForm(path_).c_str());
}
