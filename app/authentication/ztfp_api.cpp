#include "app/authentication/ztfp_api.h"

#include "win/delay_loaded_library.h"

namespace ztfp {
namespace {

CDelayLoadedLibrary& FingerprintLibrary() {
    static CDelayLoadedLibrary library(L"ZTFPApi.dll");
    return library;
}

template <class Fn>
Fn Bound(const char* name) {
    return FingerprintLibrary().Entry<Fn>(name);
}

}  // namespace

HRESULT Init() {
    return Bound<HRESULT(WINAPI*)()>("ZTFPInit")();
}

HRESULT Term() {
    return Bound<HRESULT(WINAPI*)()>("ZTFPTerm")();
}

HRESULT Authenticate(DWORD handle, const wchar_t* user, const wchar_t* application, DATA_BLOB* secret) {
    using Fn = HRESULT(WINAPI*)(DWORD, const wchar_t*, DWORD, DWORD, const wchar_t*, DATA_BLOB*);
    return Bound<Fn>("ZTFPAuthenticate")(handle, user, kUserKind, 0, application, secret);
}

HRESULT AuthenticateWithPassword(const wchar_t* user, const wchar_t* password, const wchar_t* application,
                                 DATA_BLOB* secret) {
    using Fn = HRESULT(WINAPI*)(const wchar_t*, DWORD, const wchar_t*, const wchar_t*, DATA_BLOB*);
    return Bound<Fn>("ZTFPAuthenticateWithPassword")(user, kUserKind, password, application, secret);
}

HRESULT WriteSecretContent(const wchar_t* user, const wchar_t* application, const DATA_BLOB* secret) {
    using Fn = HRESULT(WINAPI*)(const wchar_t*, DWORD, const wchar_t*, const DATA_BLOB*, DWORD);
    return Bound<Fn>("ZTFPWriteSecretContent")(user, kUserKind, application, secret, 0);
}

void BufferFree(void* buffer) {
    Bound<void(WINAPI*)(void*)>("ZTFPBufferFree")(buffer);
}

void LibraryAllocator::Free(BYTE* data, DWORD size) noexcept {
    if (!data) return;
    ::SecureZeroMemory(data, size);
    try {
        BufferFree(data);
    } catch (...) {
        // A buffer can only come from a bound library, so this cannot fail; were it to, the
        // zeroed buffer is left rather than letting a destructor throw.
    }
}

}  // namespace ztfp
