#pragma once
#include <windows.h>

#include "win/unique_handle.h"

// A library of the operating system, loaded from the system folder by its full path, so
// that a file of the same name in the program's folder or the current folder is never
// loaded in its place. None when it cannot be loaded.
Library LoadSystemLibrary(const wchar_t* name);

// A function of a library the process has loaded, looked up at run time, for a call that an
// older system may lack (or that Microsoft documents as newer): an import of it would keep the
// program from starting there. Null where the library or the function is missing.
template <class Function>
Function LoadedLibraryFunction(const wchar_t* library, const char* name) {
    const HMODULE module = ::GetModuleHandleW(library);
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(module ? ::GetProcAddress(module, name) : nullptr));
}

// The same for Kernel32, for calls that systems older than Vista may lack.
template <class Function>
Function Kernel32Function(const char* name) {
    return LoadedLibraryFunction<Function>(L"kernel32.dll", name);
}
