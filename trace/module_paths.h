#pragma once
#include <windows.h>

#include <string>

namespace ZTTraceNS {

// The module (program or DLL) that carries this copy of the trace library.
HMODULE ThisModule();

// A module's full path; null names the process image.
std::wstring ModuleFileName(HMODULE module);

// The parts of a path: folder with its final separator (drive included), base name, and the
// extension with its dot; the latter two are empty when absent.
struct PathParts {
    std::wstring folder;
    std::wstring base;
    std::wstring extension;
};
PathParts SplitPath(const std::wstring& path);

// This module's file name without folder and extension, as the component filter names it.
const std::wstring& ComponentName();

}  // namespace ZTTraceNS
