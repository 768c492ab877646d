#include "win/path_parts.h"

#include <windows.h>

#include <algorithm>

#include "win/long_path.h"
#include "win/system_library.h"
#include "win/unique_handle.h"

namespace {

using UpcaseFunction = WCHAR(WINAPI*)(WCHAR);

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
    return SplitPath(path).extension;
}

PathParts SplitPath(const std::wstring& path) {
    const std::size_t nameStart = NameStart(path);
    const std::size_t dot = path.rfind(L'.');
    const std::size_t nameEnd = dot == std::wstring::npos || dot < nameStart ? path.size() : dot;
    return {path.substr(0, nameStart), path.substr(nameStart, nameEnd - nameStart), path.substr(nameEnd)};
}

std::wstring WithTrailingSeparator(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    return folder.empty() ? L"\\" + name : WithTrailingSeparator(folder) + name;
}

// The kernel's own upper-casing, which every NT has (CompareStringOrdinal, which uses it, came
// with Vista).
bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    const auto upcase = LoadedLibraryFunction<UpcaseFunction>(L"ntdll.dll", "RtlUpcaseUnicodeChar");
    const auto upper = [&](wchar_t c) { return upcase ? upcase(c) : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](wchar_t x, wchar_t y) { return x == y || upper(x) == upper(y); });
}

bool PathIsTaken(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const FindHandle search(::FindFirstFileW(LongPathForm(path).c_str(), &found));
    return static_cast<bool>(search);
}

bool PathExists(const std::wstring& path) {
    return ::GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
