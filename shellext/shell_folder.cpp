#include "shellext/shell_folder.h"

#include <windows.h>

#include <vector>

#include "win/unique_handle.h"

namespace {

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

std::string ToAnsi(const std::wstring& text) {
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(bytes));
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer.data(), bytes, nullptr, nullptr);
    return buffer.data();
}

}  // namespace

bool IsInShellFolder(const std::wstring& path, int folderId) {
    // Loaded for the question and let go after it; shfolder.dll also serves systems whose
    // shell lacks SHGetFolderPath.
    const Library library(::LoadLibraryW(L"shfolder.dll"));
    if (!library) return false;
    const auto getFolderPath = reinterpret_cast<GetFolderPathFn>(
        reinterpret_cast<void*>(::GetProcAddress(library.get(), "SHGetFolderPathA")));
    char folder[MAX_PATH] = {};
    if (!getFolderPath || FAILED(getFolderPath(nullptr, folderId, nullptr, 0, folder))) return false;
    return ToAnsi(path).find(folder) != std::string::npos;
}
