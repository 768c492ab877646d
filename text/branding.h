#pragma once
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

// The branding library: a resource-only module whose string 103 is the product name. Found
// through the "DLLPath" value of the branding key and loaded as data, so none of its code
// runs. Process() is the one the program uses; tests may make their own.
class CBranding {
public:
    static CBranding& Process();

    // The library's handle, loaded on first use; none when it cannot be found or loaded.
    HMODULE LoadResourceDLL();
    bool Loaded() const { return static_cast<bool>(library_); }

    // String 103 of the branding library, or of the resource module when there is none.
    std::wstring ProductName();

private:
    Library library_;
};
