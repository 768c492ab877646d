#pragma once
#include <string>

// The suite's programs folder, ending in a backslash: "BinDir" under the Applications key,
// or "zentaro\bin\" below the program-files folder when that key does not exist. Empty
// when the key exists but names no folder.
std::wstring GetBinFolder();

// The suite's installation folder ("ZentaroPath"), empty when it is not recorded.
std::wstring GetInstallationFolder();
