#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "win/unique_handle.h"

// One page a registered plug-in gave, with what its descriptor said of it. The descriptor
// itself has been freed; the plug-in stays loaded as long as its page may run.
struct PlugInPage {
    Library plugIn;
    HPROPSHEETPAGE page = nullptr;
    std::wstring title;
    HINSTANCE module = nullptr;
    DWORD iconId = 0;
};

// Loads every plug-in named under the PlugIns key by the path stored there and asks it for
// its first page. A plug-in that cannot be loaded or gives no page is passed over.
std::vector<PlugInPage> LoadPlugInPages();
