#pragma once
#include <windows.h>

#include <string>

// The module (program or DLL) whose code calls this: inside a plug-in loaded by Explorer or
// the dashboard, the plug-in itself, never the host's program.
HMODULE ThisModule();

// A module's full path; null names the process image.
std::wstring ModuleFileName(HMODULE module);

// The folder of the module that holds this code, ending in a backslash.
std::wstring ThisModuleFolder();
