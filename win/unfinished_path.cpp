#include "win/unfinished_path.h"

#include <windows.h>

#include "core/container/unfinished_name.h"
#include "win/hresult.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

std::wstring UnfinishedPath(const std::wstring& finalPath, unsigned attempt) {
    const std::wstring folder = FolderOf(finalPath);
    // The name must fit its component alone: the path's length is no limit, since a path too
    // long for the plain form reaches the file system in its extended-length form.
    return folder + ToWide(core::UnfinishedName(AsU16(FileNameOf(finalPath)), attempt));
}

bool IsUnfinishedPath(const std::wstring& path) {
    return core::IsUnfinishedName(AsU16(FileNameOf(path)));
}

std::wstring FinalPathOf(const std::wstring& unfinishedPath) {
    const std::wstring name = FileNameOf(unfinishedPath);
    return FolderOf(unfinishedPath) + ToWide(std::u16string(core::KeptNameOf(AsU16(name))));
}

std::vector<std::wstring> UnfinishedFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    const FindHandle search(
        ::FindFirstFileW(LongPathForm(folder + ToWide(core::UnfinishedNamesPattern())).c_str(), &found));
    if (!search) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            core::IsUnfinishedName(AsU16(found.cFileName)))
            files.push_back(folder + found.cFileName);
    } while (::FindNextFileW(search.get(), &found));
    return files;
}

bool IsUnfinishedPathOf(const std::wstring& path, const std::wstring& finalPath) {
    return SameNameIgnoringCase(FolderOf(path), FolderOf(finalPath)) &&
           core::IsUnfinishedNameOf(AsU16(FileNameOf(path)), AsU16(FileNameOf(finalPath)));
}

bool IsNameTaken(HRESULT hr) {
    return hr == HResultFromWin32(ERROR_FILE_EXISTS) || hr == HResultFromWin32(ERROR_ALREADY_EXISTS);
}
