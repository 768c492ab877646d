#include "app/traversal/process_file_recursive.h"

#include "app/resources/resource_ids.h"
#include "app/traversal/system_protection.h"
#include "engine/encryption_decryption.h"
#include "engine/path_run.h"
#include "trace/operation.h"

using ZTTraceNS::CTraceScope;
using ZTTraceNS::Trace;

namespace {

// The report entry for an existing item that must be left alone, or 0 when it may be
// processed. A system file is often hidden too; it is reported as a system file.
UINT UntouchableReason(const CTraceScope& scope, const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_SYSTEM) return IDS_SKIPPED_SYSTEM;
    if (IsLinkedFolder(attributes)) return IDS_SKIPPED_LINK;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) return IDS_SKIPPED_HIDDEN;
    if (IsSystemProtected(path)) {
        Trace(scope, 0, "File %ls is protected", path.c_str());
        return IDS_SKIPPED_PROTECTED;
    }
    return 0;
}

// Walks the folder; a folder the user named is recorded in the decrypted-items store even
// after a cancel: it was the user's choice, and part of it is done.
HRESULT ProcessFolder(CEncryptionDecryption& engine, const std::wstring& path, int depth) {
    const HRESULT walked = WalkFolder(
        engine, path, [&](const std::wstring& entry) { ProcessFileRecursive(engine, entry, depth + 1); });
    if (SUCCEEDED(walked) && depth == 0) engine.UpdateDecryptedItems(path, true);
    return walked;
}

}  // namespace

HRESULT ProcessFileRecursive(CEncryptionDecryption& engine, const std::wstring& path, int depth) {
    CTraceScope scope("ProcessFileRecursive");
    Trace(scope, 0, "FileName = %ls", path.c_str());
    return Guarded(scope, [&]() -> HRESULT {
        if (engine.Observer().IsCancelled()) return S_FALSE;
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (TakenAsGoneOrLeftover(engine, path, attributes, depth == 0)) return S_FALSE;
        if (const UINT reason = UntouchableReason(scope, path, attributes)) {
            engine.Observer().SkipFile(path);
            // Leaving an item encrypted loses nothing, so a decryption does not mention it.
            if (engine.GetOperationKind() == kOperationEncrypt)
                engine.Observer().AddEntry(reason, path, S_OK);
            return S_FALSE;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ProcessFolder(engine, path, depth);
        // A linked file is the engine's to judge: decrypting through a link loses nothing.
        return static_cast<HRESULT>(engine.ProcessFile(path, depth == 0));
    });
}
