#pragma once
#include <windows.h>

#include <string>

class CEncryptionDecryption;

// Runs one path through the engine: a file whatever its kind (the engine leaves alone what is
// not an encrypted file), a folder with everything in it but linked folders, which are
// reported. Nothing is recorded in the decrypted-items store, and nothing new is started once
// the run is cancelled. A missing path is reported with entry 50, a folder that cannot be
// listed with entry 18. depth is 0 for a path the user chose.
HRESULT ProcessFileRecursive(CEncryptionDecryption& engine, const std::wstring& path, int depth);
