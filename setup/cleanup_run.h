#pragma once
#include <windows.h>

#include <string>

// Carries out the clean-up list that the suite's modules left for the uninstaller when they
// were unregistered (Cleanup.txt): each line removes a value or a key from every user profile
// whose hive is loaded and from the current user ("HKU"), or from the machine ("HK"), in this
// program's registry view. What is already gone counts as removed; a line with a hive word
// of another kind is passed over. Every line is tried; the result is the first failure,
// S_FALSE when there is no list.
HRESULT CarryOutCleanupList(const std::wstring& path);
