#include "trace/module_paths.h"

namespace ZTTraceNS {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::wstring ModuleFileName(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD units = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        // A full buffer means the path may have been cut: try again with a larger one.
        if (units < path.size()) {
            path.resize(units);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

PathParts SplitPath(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/:");
    const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t nameEnd = dot == std::wstring::npos || dot < nameStart ? path.size() : dot;
    return {path.substr(0, nameStart), path.substr(nameStart, nameEnd - nameStart), path.substr(nameEnd)};
}

const std::wstring& ComponentName() {
    static const std::wstring name = SplitPath(ModuleFileName(ThisModule())).base;
    return name;
}

}  // namespace ZTTraceNS
