#include "engine/walk.h"

#include <cstdint>
#include <vector>

#include "engine/encryption_decryption.h"
#include "engine/engine_ids.h"
#include "trace/operation.h"
#include "win/folder_listing.h"
#include "win/long_path.h"
#include "win/unfinished_path.h"

using trace::CTraceScope;
using trace::Trace;

namespace {

// The first look of a walk at an item, true when the walk is done with it: a path that is
// gone is reported with entry 50 (unless it is a leftover found in a folder, which the run
// that finished its file may have removed since the folder was read), and a file under an
// unfinished name is the engine's to judge as a leftover, never encrypted or decrypted.
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

// A folder the user named is recorded once walked, even after a cancel: it was the user's
// choice, and part of it is done.
HRESULT WalkFolder(CEncryptionDecryption& engine, const CWalkPolicy& policy, const std::wstring& folder,
                   int depth) {
    // A listing taken while a batch waits would show its files half done.
    engine.CompleteBatch();
    std::vector<std::wstring> entries;
    const HRESULT listed = ListFolderEntries(folder, entries);
    if (FAILED(listed)) {
        engine.Observer().AddEntry(IDS_CANNOT_LIST, folder, listed);
        return listed;
    }
    for (const std::wstring& entry : entries) WalkPath(engine, policy, entry, depth + 1);
    if (depth == 0 && policy.RecordsNamedItems()) {
        engine.CompleteBatch();
        engine.UpdateDecryptedItems(folder, true);
    }
    return S_OK;
}

}  // namespace

void WalkPaths(CEncryptionDecryption& engine, const CWalkPolicy& policy, const CStringList& paths) {
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < paths.Count(); ++i) total += TotalSize(paths.GetAt(i));
    engine.Observer().SetTotal(total);
    for (std::size_t i = 0; i < paths.Count() && !engine.Observer().IsCancelled(); ++i)
        WalkPath(engine, policy, paths.GetAt(i), 0);
    engine.CompleteBatch();
}

HRESULT WalkPath(CEncryptionDecryption& engine, const CWalkPolicy& policy, const std::wstring& path,
                 int depth) {
    CTraceScope scope("WalkPath");
    Trace(scope, 0, "FileName = %ls", path.c_str());
    return Guarded(scope, [&]() -> HRESULT {
        if (engine.Observer().IsCancelled()) return S_FALSE;
        engine.MakeWayFor(path);
        const DWORD attributes = ::GetFileAttributesW(LongPathForm(path).c_str());
        const bool named = depth == 0;
        if (TakenAsGoneOrLeftover(engine, path, attributes, named)) return S_FALSE;
        if (const std::optional<UINT> entry = policy.SkipEntry(path, attributes)) {
            engine.Observer().SkipFile(path);
            if (*entry != 0) engine.Observer().AddEntry(*entry, path, S_OK);
            return S_FALSE;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return WalkFolder(engine, policy, path, depth);
        // A linked file is the engine's to judge: decrypting through a link loses nothing. One
        // that joins the batch is done with it.
        const std::optional<FileOutcome> ended = engine.QueueFile(path, named && policy.RecordsNamedItems());
        return ended ? ended->Status() : S_OK;
    });
}

void FinishRun(CEncryptionDecryption& engine, UINT closingEntryId) {
    engine.Observer().Finish(engine.GetOperationKind(), engine.Summary(), closingEntryId);
}
