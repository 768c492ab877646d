#pragma once
#include <windows.h>

#include <string>

#include "core/container/sealed_file.h"
#include "text/settings_library.h"

// Product settings as the settings library answers them. On failure the result is the
// library's code (E_NOTIMPL without a library); with traceOnError it is traced.
HRESULT GetSetting(const wchar_t* name, std::wstring& value, bool traceOnError,
                   CSettingsLibrary& library = CSettingsLibrary::Process());

// True when the setting's number is positive. A text that is no number, or zero, is
// E_INVALIDARG with flag false.
HRESULT GetBoolSetting(const wchar_t* name, bool& flag, bool traceOnError,
                       CSettingsLibrary& library = CSettingsLibrary::Process());

// "is_personalmode"; any failure means off.
bool ReadPersonalMode(CSettingsLibrary& library);
// The same, read once per process.
bool IsPersonalMode();

// The format encryption writes: the machine's policy (the DWORD FileFormat below
// HKEY_LOCAL_MACHINE\<kTapwiseCryptoKey>) before the user's own value of that name below
// HKEY_CURRENT_USER. 2 is the sealed file and 1 the first format; any other number, a value of
// another type or none is no answer, and without an answer it is the first format.
core::FileFormat ReadFileFormatSetting();
