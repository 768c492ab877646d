#pragma once
#include <windows.h>

// Appends a line to Cleanup.txt in the installation folder, the list of per-user settings
// that the product's uninstaller removes. valueName null: the line names no value.
// E_INVALIDARG without a hive or key path; the folder not recorded is
// HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND).
HRESULT AddCleanupLine(const wchar_t* hive, const wchar_t* keyPath, int number, const wchar_t* valueName);
