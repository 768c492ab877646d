#pragma once
#include <windows.h>

#include <string>

class CEncryptionDecryption;

// Runs one path through the engine: a file directly, a folder with everything in it.
// depth is 0 for a path the user named and grows by one per folder level. Missing, system,
// hidden and system-protected items are skipped unopened, with a report entry when
// encrypting (a missing one always). Nothing new is started once the run is cancelled.
HRESULT ProcessFileRecursive(CEncryptionDecryption& engine, const std::wstring& path, int depth);
