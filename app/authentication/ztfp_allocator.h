#pragma once
#include <windows.h>

#include "secret/crypt_blob.h"

// Blob buffers that the fingerprint library handed over: zeroed, then given back to it.
struct _ztfp_allocator {
    static void Free(BYTE* data, DWORD size) noexcept;
};

using CLibraryBlob = CCryptBlob<_CRYPTOAPI_BLOB, _ztfp_allocator>;
