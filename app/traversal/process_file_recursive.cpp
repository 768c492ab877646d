#include "app/traversal/process_file_recursive.h"

#include "app/resources/resource_ids.h"
#include "app/traversal/system_protection.h"
#include "engine/encryption_decryption.h"
#include "trace/operation.h"
#include "ui/folder_entries.h"

using ZTTraceNS::CTraceScope;
using ZTTraceNS::Trace;

namespace {

// The report entry for an existing item that must be left alone, or 0 when it may be
// processed. A system file is often hidden too; it is reported as a system file.
UINT UntouchableReason(const CTraceScope& scope, const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_SYSTEM) return IDS_SKIPPED_SYSTEM;
    // A linked folder (a junction or a symbolic link) leads out of what the user chose.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return IDS_SKIPPED_LINK;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) return IDS_SKIPPED_HIDDEN;
    if (IsSystemProtected(path)) {
        Trace(scope, 0, "File %ls is protected", path.c_str());
        return IDS_SKIPPED_PROTECTED;
    }
    return 0;
}

// The folder is listed completely before its first entry is processed: the engine creates
// and deletes files in it meanwhile, and those must not be walked.
HRESULT ProcessFolder(CEncryptionDecryption& engine, const std::wstring& path, int depth) {
    CStringList entries;
    const HRESULT listed = ListFolderEntries(path, entries);
    if (FAILED(listed)) {
        engine.Report().AddEntry(IDS_CANNOT_LIST, path, listed);
        return listed;
    }
    for (std::size_t i = 0; i < entries.Count(); ++i)
        ProcessFileRecursive(engine, entries.GetAt(i), depth + 1);
    // Recorded even after a cancel: the folder was the user's choice, and part of it is done.
    if (depth == 0) engine.UpdateDecryptedItems(path, true);
    return S_OK;
}

}  // namespace

HRESULT ProcessFileRecursive(CEncryptionDecryption& engine, const std::wstring& path, int depth) {
    CTraceScope scope("ProcessFileRecursive");
    Trace(scope, 0, "FileName = %ls", path.c_str());
    return Guarded(scope, [&]() -> HRESULT {
        if (engine.IsCancelled()) return S_FALSE;
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            Trace(scope, 0, "File %ls does not exist", path.c_str());
            engine.SkipFile(path);
            engine.Report().AddEntry(IDS_NOT_FOUND, path, S_OK);
            return S_FALSE;
        }
        if (const UINT reason = UntouchableReason(scope, path, attributes)) {
            engine.SkipFile(path);
            // Leaving an item encrypted loses nothing, so a decryption does not mention it.
            if (engine.GetOperationKind() == kOperationEncrypt) engine.Report().AddEntry(reason, path, S_OK);
            return S_FALSE;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ProcessFolder(engine, path, depth);
        // A linked file is the engine's to judge: decrypting through a link loses nothing.
        return static_cast<HRESULT>(engine.ProcessFile(path, depth == 0));
    });
}
