#pragma once
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

// The maker's settings library ZtoSet.dll, which answers product settings. Loaded on first
// use from the programs folder, else from the program's own folder; never by bare name, so
// a library planted in the current folder or on the path is not picked up. Process() is the
// one the program uses; tests may make their own.
class CSettingsLibrary {
public:
    static CSettingsLibrary& Process();

    // The setting's text. E_NOTIMPL when there is no library or it has no query function.
    HRESULT Query(const wchar_t* name, std::wstring& value);

private:
    void Load();

    using QueryFunction = HRESULT(WINAPI*)(void* request);
    bool tried_ = false;
    Library library_;
    QueryFunction query_ = nullptr;
};
