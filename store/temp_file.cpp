#include "store/temp_file.h"

#include <windows.h>

#include "win/hresult.h"

CTempFile::CTempFile(const std::wstring& folder) {
    wchar_t path[MAX_PATH] = {};
    if (::GetTempFileNameW(folder.c_str(), L"ztu", 0, path) == 0) ThrowLastError();
    path_ = path;
}

CTempFile::~CTempFile() {
    if (!path_.empty()) ::DeleteFileW(path_.c_str());
}
