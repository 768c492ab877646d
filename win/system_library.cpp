#include "win/system_library.h"

#include <string>

Library LoadSystemLibrary(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = ::GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    if (length == 0 || length >= path.size()) return Library();
    path.resize(length);
    path += L'\\';
    path += name;
    return Library(::LoadLibraryW(path.c_str()));
}
