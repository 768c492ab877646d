#pragma once
#include <windows.h>

#include "win/unique_handle.h"

// The module every string, dialog, menu and icon is loaded from. Start-up picks it (the
// language satellite on old systems); until then it is the program's own module.
HMODULE ResourceModule();
void SetResourceModule(HMODULE module);

// On systems before Vista, which do not resolve language resources themselves, makes the
// program's language satellite ("ZTFileEn.exe.mui" beside it) the resource module while the
// object lives. Without a satellite the texts come from the program itself.
class CLanguageSatellite {
public:
    CLanguageSatellite();
    ~CLanguageSatellite();
    CLanguageSatellite(const CLanguageSatellite&) = delete;
    CLanguageSatellite& operator=(const CLanguageSatellite&) = delete;

private:
    Library library_;
};
