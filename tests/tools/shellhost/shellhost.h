#pragma once
#include <windows.h>
// shlobj.h needs windows.h first.
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "win/com_ptr.h"

// One context-menu handler as Explorer holds it: made from the registry, initialised with the
// selection, and owning the identifiers from first on that it reported as used.
struct LoadedHandler {
    std::wstring name;
    std::wstring classId;
    ComPtr<IContextMenu> menu;
    UINT first = 0;
    UINT used = 0;
};

struct HostOptions {
    UINT first = 100;
    UINT position = 1;
    UINT flags = CMF_NORMAL;
    bool noUi = false;
    std::optional<std::string> verb;
    std::optional<UINT> offset;
    // Show the menu, keep it up while the hold file exists (at most holdMs), then pick the
    // command at this offset of the first handler with the keyboard, or close the menu.
    bool show = false;
    std::optional<UINT> pick;
    std::wstring holdFile;
    DWORD holdMs = 0;
    std::vector<std::wstring> paths;
};

// Shows the menu as Explorer does and returns the identifier the user chose, 0 for none;
// nothing when the menu did not come up.
std::optional<UINT> ShowMenu(HMENU menu, const HostOptions& options, const std::vector<std::wstring>& paths);

// Writes a line to standard output as UTF-8.
void Print(const std::wstring& line);
