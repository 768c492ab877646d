#pragma once
#include <windows.h>

#include <wincrypt.h>

#include "secret/crypt_blob.h"

// The calls into the fingerprint library ZTFPApi.dll, bound at the first call. Results are
// the library's own; only a library or entry that cannot be bound is raised.
namespace ztfp {

inline constexpr DWORD kUserKind = 3;  // passed through after every user name

HRESULT Init();
HRESULT Term();
HRESULT Authenticate(DWORD handle, const wchar_t* user, const wchar_t* application, DATA_BLOB* secret);
HRESULT AuthenticateWithPassword(const wchar_t* user, const wchar_t* password, const wchar_t* application,
                                 DATA_BLOB* secret);
HRESULT WriteSecretContent(const wchar_t* user, const wchar_t* application, const DATA_BLOB* secret);
void BufferFree(void* buffer);

// Blob buffers that the library handed over: zeroed, then given back to it.
struct LibraryAllocator {
    static void Free(BYTE* data, DWORD size) noexcept;
};

}  // namespace ztfp

using CLibraryBlob = CCryptBlob<_CRYPTOAPI_BLOB, ztfp::LibraryAllocator>;
