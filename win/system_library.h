#pragma once
#include <windows.h>

#include "win/unique_handle.h"

// A library of the operating system, loaded from the system folder by its full path, so
// that a file of the same name in the program's folder or the current folder is never
// loaded in its place. None when it cannot be loaded.
Library LoadSystemLibrary(const wchar_t* name);

// A function of Kernel32 looked up at run time, for a call that systems older than Vista may
// lack: an import of it would keep the program from starting there. Null where it is missing.
template <class Function>
Function Kernel32Function(const char* name) {
    const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(kernel32 ? ::GetProcAddress(kernel32, name) : nullptr));
}
