#include "recovery/process_file_recursive.h"

#include "engine/encryption_decryption.h"
#include "engine/path_run.h"
#include "engine/unfinished_path.h"
#include "trace/operation.h"

HRESULT ProcessFileRecursive(CEncryptionDecryption& engine, const std::wstring& path) {
    ZTTraceNS::CTraceScope scope("ProcessFileRecursive");
    return Guarded(scope, [&]() -> HRESULT {
        if (engine.IsCancelled()) return S_OK;
        ZTTraceNS::Trace(scope, 0, "FileName = %ls", path.c_str());
        // What an earlier run left unfinished is the engine's to remove, and may be gone since
        // the folder was read.
        if (IsUnfinishedPath(path)) return static_cast<HRESULT>(engine.ProcessFile(path, false));
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            SkipMissing(engine, path);
            return S_FALSE;
        }
        if (IsLinkedFolder(attributes)) {
            engine.SkipFile(path);
            return S_FALSE;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return WalkFolder(engine, path,
                              [&](const std::wstring& entry) { ProcessFileRecursive(engine, entry); });
        // A recovery leaves the user's list of decrypted items as it is.
        return static_cast<HRESULT>(engine.ProcessFile(path, false));
    });
}
