#include "engine/encrypted_file.h"

#include "core/zte_header.h"
#include "engine/handle_stream.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

HRESULT IsEncryptedFile(HANDLE file) {
    ZTTraceNS::CTraceScope scope("::IsEncryptedFile");
    return Guarded(scope, [&]() -> HRESULT {
        CHandleSource source(file);
        return core::ReadMagic(source) == core::ReadResult::Ok ? S_OK : S_FALSE;
    });
}

HRESULT IsEncryptedFileName(const wchar_t* path) {
    ZTTraceNS::CTraceScope scope("::IsEncryptedFileName");
    return Guarded(scope, [&]() -> HRESULT {
        FileHandle file(::CreateFileW(path, GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) ThrowLastError();
        return IsEncryptedFile(file.get());
    });
}
