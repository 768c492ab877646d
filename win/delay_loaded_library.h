#pragma once
#include <windows.h>

#include "win/unique_handle.h"

// A library bound at the first call into it, as the linker's delay-loading does: nothing is
// loaded until an entry is asked for, and a missing library or entry is raised then as
// HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND or ERROR_PROC_NOT_FOUND). Used on the main thread.
class CDelayLoadedLibrary {
public:
    explicit CDelayLoadedLibrary(const wchar_t* name) : name_(name) {}

    template <class Fn>
    Fn Entry(const char* entryName) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(Address(entryName)));
    }

private:
    FARPROC Address(const char* entryName);

    const wchar_t* name_;
    Library library_;
};
