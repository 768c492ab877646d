#include "recovery/process_file_recursive.h"

#include "engine/encryption_decryption.h"
#include "engine/engine_ids.h"
#include "engine/path_run.h"
#include "trace/operation.h"

HRESULT ProcessFileRecursive(CEncryptionDecryption& engine, const std::wstring& path, int depth) {
    ZTTraceNS::CTraceScope scope("ProcessFileRecursive");
    return Guarded(scope, [&]() -> HRESULT {
        if (engine.Observer().IsCancelled()) return S_OK;
        ZTTraceNS::Trace(scope, 0, "FileName = %ls", path.c_str());
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (TakenAsGoneOrLeftover(engine, path, attributes, depth == 0)) return S_FALSE;
        // The encrypted files beyond a link stay as they are, and the user must hear of them.
        if (IsLinkedFolder(attributes)) {
            engine.Observer().SkipFile(path);
            engine.Observer().AddEntry(IDS_SKIPPED_LINK_DECRYPT, path, S_OK);
            return S_FALSE;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return WalkFolder(engine, path, [&](const std::wstring& entry) {
                ProcessFileRecursive(engine, entry, depth + 1);
            });
        // A recovery leaves the user's list of decrypted items as it is.
        return static_cast<HRESULT>(engine.ProcessFile(path, false));
    });
}
