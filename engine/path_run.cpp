#include "engine/path_run.h"

#include <cstdint>
#include <vector>

#include "engine/encryption_decryption.h"
#include "engine/engine_ids.h"
#include "engine/unfinished_path.h"
#include "win/folder_listing.h"

void WalkPaths(CEncryptionDecryption& engine, const CStringList& paths, const PathAction& processPath) {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < paths.Count(); ++i) total += TotalSize(paths.GetAt(i));
    engine.Observer().SetTotal(total);
    for (std::size_t i = 0; i < paths.Count() && !engine.Observer().IsCancelled(); ++i)
        processPath(paths.GetAt(i));
}

HRESULT WalkFolder(CEncryptionDecryption& engine, const std::wstring& folder,
                   const PathAction& processEntry) {
    std::vector<std::wstring> entries;
    const HRESULT listed = ListFolderEntries(folder, entries);
    if (FAILED(listed)) {
        engine.Observer().AddEntry(IDS_CANNOT_LIST, folder, listed);
        return listed;
    }
    for (const std::wstring& entry : entries) processEntry(entry);
    return S_OK;
}

bool TakenAsGoneOrLeftover(CEncryptionDecryption& engine, const std::wstring& path, DWORD attributes,
                           bool namedByUser) {
    const bool unfinished = IsUnfinishedPath(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        engine.Observer().SkipFile(path);
        if (namedByUser || !unfinished) engine.Observer().AddEntry(IDS_NOT_FOUND, path, S_OK);
        return true;
    }
    if (!unfinished || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    engine.ProcessLeftover(path, namedByUser);
    return true;
}

void FinishRun(CEncryptionDecryption& engine, UINT closingEntryId) {
    engine.Observer().Finish(engine.GetOperationKind(), engine.Summary(), closingEntryId);
}
