#pragma once
#include "win/unique_handle.h"

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
