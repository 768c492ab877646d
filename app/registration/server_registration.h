#pragma once
#include <windows.h>

#include <string>

// "/RegServer": registers the encrypted-file type so that opening a .zte file runs this
// program in decrypt-and-open mode, and makes sure an extension filter exists. The first
// entry that cannot be written ends the registration with the registry's error. Nothing is
// shown to the user.
HRESULT RegisterServer();

// The same for the program at that path; E_INVALIDARG for an empty one.
HRESULT RegisterProgram(const std::wstring& programPath);

// "/UnregServer": removes the file type and hands the per-user settings to the uninstaller's
// clean-up list.
HRESULT UnregisterServer();
