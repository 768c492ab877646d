#pragma once
#include <windows.h>

#include <string>

// The class's registry entries under HKEY_LOCAL_MACHINE\Software\Classes\CLSID: written with
// the module as its in-process server ("Both" threading), or removed with everything below.
// Removing what is not there succeeds, so that unregistering can be run again.
HRESULT UpdateShellExtensionRegistry(bool doRegister);

// The context-menu handler key of a root ("*" for every file, "Directory" for folders),
// naming the class; the Windows error of the call that failed.
HRESULT RegisterContextMenuHandler(const wchar_t* root);
HRESULT UnregisterContextMenuHandler(const wchar_t* root);
