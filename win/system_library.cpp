#include "win/system_library.h"

#include <string>

Library LoadSystemLibrary(const wchar_t* name) {
    const UINT units = ::GetSystemDirectoryW(nullptr, 0);
    std::wstring path(units, L'\0');
    const UINT length = ::GetSystemDirectoryW(path.data(), units);
    if (length == 0 || length >= units) return Library();
    path.resize(length);
    path += L'\\';
    path += name;
    return Library(::LoadLibraryW(path.c_str()));
}
