#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "text/string_containers.h"

class CEncryptionDecryption;

// What a deliverable's walk leaves alone and what it records, beside what every walk does:
// a path that is gone is reported, a file under an unfinished name is judged as a leftover,
// and nothing new is begun once the run is cancelled.
class CWalkPolicy {
public:
    virtual ~CWalkPolicy() = default;

    // For an existing item that must be left alone: the report entry that says why, or 0
    // for none. Nothing when the item is to be processed.
    virtual std::optional<UINT> SkipEntry(const std::wstring& path, DWORD attributes) const = 0;
    // Whether the items the user named are recorded in the decrypted-items store.
    virtual bool RecordsNamedItems() const = 0;
};

// The walk of a run over the paths a user chose: the bytes of every path are summed for the
// progress bar, then each path is walked in list order until the user cancels.
void WalkPaths(CEncryptionDecryption& engine, const CWalkPolicy& policy, const CStringList& paths);

// Runs one path through the engine: a file directly, a folder with everything in it. depth is
// 0 for a path the user named and grows by one per folder level. S_OK once it is processed or
// has joined the engine's batch (whose failures the report tells), S_FALSE when it was left
// alone, or the failure. A folder is listed completely before its
// entries are walked: the engine creates and deletes files in it meanwhile, and those must not
// be walked; one that cannot be listed is reported with entry 18.
HRESULT WalkPath(CEncryptionDecryption& engine, const CWalkPolicy& policy, const std::wstring& path,
                 int depth);

// A folder that is a link (a junction, a symbolic link): a walk never enters one, since it
// may lead out of what the user chose, or back into it.
inline bool IsLinkedFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The end of a run: the engine's observer is told, with the summary of what the engine did.
// A closing entry other than 0 comes after the summary and has the report shown even when
// nothing else was said.
void FinishRun(CEncryptionDecryption& engine, UINT closingEntryId = 0);
