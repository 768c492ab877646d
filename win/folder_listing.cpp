#include "win/folder_listing.h"

#include <cwchar>

#include "win/hresult.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"

namespace {

bool IsDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

}  // namespace

HRESULT ListFolderEntries(const std::wstring& folder, std::vector<std::wstring>& entries) {
    WIN32_FIND_DATAW found{};
    const FindHandle listing(::FindFirstFileW(LongPathForm(JoinPath(folder, L"*")).c_str(), &found));
    if (!listing) {
        // An empty root folder has not even "." and "..": nothing to list is no failure.
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? S_OK : HResultFromWin32(error);
    }
    do {
        if (!IsDotEntry(found.cFileName)) entries.push_back(JoinPath(folder, found.cFileName));
    } while (::FindNextFileW(listing.get(), &found));
    return S_OK;
}

std::uint64_t TotalSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    // The walk does not enter a linked folder, which may lead anywhere, even back here.
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return 0;
    std::vector<std::wstring> entries;
    ListFolderEntries(path, entries);
    std::uint64_t total = 0;
    for (const std::wstring& entry : entries) total += TotalSize(entry);
    return total;
}
