#include "engine/path_parts.h"

#include <windows.h>

#include "win/unique_handle.h"

namespace {

std::size_t NameStart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

}  // namespace

std::wstring FileNameOf(const std::wstring& path) {
    return path.substr(NameStart(path));
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, NameStart(path));
}

std::wstring ExtensionOf(const std::wstring& path) {
    const std::wstring name = FileNameOf(path);
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

bool PathIsTaken(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const FindHandle search(::FindFirstFileW(path.c_str(), &found));
    return static_cast<bool>(search);
}

bool PathExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
