#pragma once
#include <string>

// The decrypted-items file of the current user: "Zentaro\FileProtection\unprotected.xml" in
// the roaming application-data folder. Both folders are created when missing, so that the
// store works on a fresh profile. Throws when the shell has no application-data folder.
std::wstring StoreFilePath();
