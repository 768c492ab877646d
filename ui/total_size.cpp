#include "ui/total_size.h"

#include <windows.h>

#include "ui/folder_entries.h"

std::uint64_t TotalSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    // The walk does not enter a linked folder, which may lead anywhere, even back here.
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return 0;
    CStringList entries;
    ListFolderEntries(path, entries);
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < entries.Count(); ++i) total += TotalSize(entries.GetAt(i));
    return total;
}
