#include "win/this_module.h"

#include "win/path_parts.h"

// The linker places this symbol at the start of every image it links, so its address is the
// module's handle; unlike GetModuleHandleExW it needs nothing newer than Windows 2000.
extern "C" IMAGE_DOS_HEADER __ImageBase;

HMODULE ThisModule() {
    return reinterpret_cast<HMODULE>(&__ImageBase);
}

std::wstring ModuleFileName(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD units = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (units == 0) return {};
        // A full buffer means the path may have been cut: try again with a larger one.
        if (units < path.size()) {
            path.resize(units);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ThisModuleFolder() {
    return FolderOf(ModuleFileName(ThisModule()));
}
