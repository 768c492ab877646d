#pragma once
#include <windows.h>

// The module every string, dialog, menu and icon is loaded from. Start-up picks it (the
// language satellite on old systems); until then it is the program's own module.
HMODULE ResourceModule();
void SetResourceModule(HMODULE module);
