#include "engine/encrypted_file.h"

#include "core/zte_header.h"
#include "engine/handle_stream.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/hresult.h"

HRESULT IsEncryptedFile(HANDLE file) {
    trace::CTraceScope scope("::IsEncryptedFile");
    return Guarded(scope, [&]() -> HRESULT {
        CHandleSource source(file);
        return core::ReadMagic(source) == core::ReadResult::Ok ? S_OK : S_FALSE;
    });
}
