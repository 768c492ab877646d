#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "text/string_containers.h"

class CEncryptionDecryption;

using PathAction = std::function<void(const std::wstring& path)>;

// The walk of a run over the paths a user chose: the bytes of every path are summed for the
// progress bar, then each path is handed to processPath in list order until the user cancels.
void WalkPaths(CEncryptionDecryption& engine, const CStringList& paths, const PathAction& processPath);

// Hands the full path of every entry of the folder to processEntry, in the order the file
// system lists them. The folder is listed completely first: the engine creates and deletes
// files in it meanwhile, and those must not be walked. A folder that cannot be listed is
// reported with entry 18 and the listing's status is returned.
HRESULT WalkFolder(CEncryptionDecryption& engine, const std::wstring& folder, const PathAction& processEntry);

// A folder that is a link (a junction, a symbolic link): a walk never enters one, since it
// may lead out of what the user chose, or back into it.
inline bool IsLinkedFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The first look of a walk at an item, true when the walk is done with it: a path that is
// gone is reported with entry 50 (unless it is a leftover found in a folder, which the run that
// finished its file may have removed since the folder was read), and a file under an
// unfinished name is the engine's to judge as a leftover, never encrypted or decrypted.
bool TakenAsGoneOrLeftover(CEncryptionDecryption& engine, const std::wstring& path, DWORD attributes,
                           bool namedByUser);

// The end of a run: the progress dialog closes, and when the report holds entries the summary
// line is added and the report dialog shows it, owned by owner. A closing entry other than 0
// is added after the summary and has the report shown even when nothing else was said.
void FinishRun(HWND owner, CEncryptionDecryption& engine, UINT closingEntryId = 0);
