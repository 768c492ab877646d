#pragma once
#include <string>

// The suite's programs folder, ending in a backslash: "BinDir" under the Applications key,
// or "zentaro\bin\" below the program-files folder when that key does not exist. Empty
// when the key exists but names no folder.
std::wstring GetBinFolder();

// The suite's installation folder ("ZentaroPath"), empty when it is not recorded.
std::wstring GetInstallationFolder();

// The folder of the running program, ending in a backslash.
std::wstring GetProgramFolder();

// The folder with a backslash added unless it is empty or already ends in a separator.
std::wstring WithTrailingSeparator(std::wstring folder);
