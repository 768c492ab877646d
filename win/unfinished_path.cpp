#include "win/unfinished_path.h"

#include <windows.h>

#include <algorithm>

#include "core/container/unfinished_name.h"
#include "win/hresult.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

// The longest name a path in this folder may end in: a component holds 255 characters, a
// path MAX_PATH with its terminator.
std::size_t RoomIn(const std::wstring& folder) {
    const std::size_t pathRoom = folder.size() < MAX_PATH - 1 ? MAX_PATH - 1 - folder.size() : 0;
    return std::min<std::size_t>(255, pathRoom);
}

}  // namespace

std::wstring UnfinishedPath(const std::wstring& finalPath, unsigned attempt) {
    const std::wstring folder = FolderOf(finalPath);
    return folder + ToWide(core::UnfinishedName(AsU16(FileNameOf(finalPath)), attempt, RoomIn(folder)));
}

bool IsUnfinishedPath(const std::wstring& path) {
    return core::IsUnfinishedName(AsU16(FileNameOf(path)));
}

std::wstring FinalPathOf(const std::wstring& unfinishedPath) {
    const std::wstring name = FileNameOf(unfinishedPath);
    return FolderOf(unfinishedPath) + ToWide(std::u16string(core::KeptNameOf(AsU16(name))));
}

std::vector<std::wstring> UnfinishedFilesOf(const std::wstring& finalPath) {
    const std::wstring folder = FolderOf(finalPath);
    const std::u16string finalName(AsU16(FileNameOf(finalPath)));
    // The search's pattern finds the attempts of this name; the rule decides on each.
    std::wstring pattern = UnfinishedPath(finalPath, 0);
    pattern.back() = L'*';
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found{};
    const FindHandle search(::FindFirstFileW(pattern.c_str(), &found));
    if (!search) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            core::IsUnfinishedNameOf(AsU16(found.cFileName), finalName, RoomIn(folder)))
            files.push_back(folder + found.cFileName);
    } while (::FindNextFileW(search.get(), &found));
    return files;
}

bool IsNameTaken(HRESULT hr) {
    return hr == HResultFromWin32(ERROR_FILE_EXISTS) || hr == HResultFromWin32(ERROR_ALREADY_EXISTS);
}
