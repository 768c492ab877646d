#pragma once
#include <windows.h>

#include "win/unique_handle.h"

// A library of the operating system, loaded from the system folder by its full path, so
// that a file of the same name in the program's folder or the current folder is never
// loaded in its place. None when it cannot be loaded.
Library LoadSystemLibrary(const wchar_t* name);
