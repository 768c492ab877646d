#include "win/system_library.h"

#include <string>

#include "win/sized_text.h"

Library LoadSystemLibrary(const wchar_t* name) {
    std::wstring path =
        SizedText([](wchar_t* text, DWORD units) { return ::GetSystemDirectoryW(text, units); });
    if (path.empty()) return Library();
    path += L'\\';
    path += name;
    return Library(::LoadLibraryW(path.c_str()));
}
