#include "ui/folder_entries.h"

#include <cwchar>

#include "win/hresult.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"

namespace {

bool IsDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

}  // namespace

HRESULT ListFolderEntries(const std::wstring& folder, CStringList& entries) {
    WIN32_FIND_DATAW found{};
    const FindHandle listing(::FindFirstFileW(JoinPath(folder, L"*").c_str(), &found));
    if (!listing) {
        // An empty root folder has not even "." and "..": nothing to list is no failure.
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? S_OK : HResultFromWin32(error);
    }
    do {
        if (!IsDotEntry(found.cFileName)) entries.Add(JoinPath(folder, found.cFileName));
    } while (::FindNextFileW(listing.get(), &found));
    return S_OK;
}
