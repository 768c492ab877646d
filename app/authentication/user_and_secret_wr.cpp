#include "app/authentication/user_and_secret_wr.h"

#include <cwchar>

#include "app/authentication/thread_user_name.h"
#include "app/authentication/ztfp_api.h"
#include "app/authentication/ztsd_api.h"
#include "text/settings.h"
#include "trace/operation.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kApplication[] = L"Tapwise Crypto";

// The verification library's text is given back zeroed, like every buffer of the libraries.
void FreeLibraryText(wchar_t* text) {
    _ztfp_allocator::Free(reinterpret_cast<BYTE*>(text),
                          static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)));
}
using LibraryText = UniqueHandle<SimpleTraits<wchar_t*, nullptr, FreeLibraryText>>;

// The deobfuscated password as a string, or nothing when it is empty. Content that is not a
// terminated UTF-16 string is malformed: it is never read past its end.
const wchar_t* PasswordIn(const CHeapBlob& plain) {
    const std::span<const BYTE> bytes = plain.Bytes();
    const std::size_t units = bytes.size() / sizeof(wchar_t);
    const auto* text = reinterpret_cast<const wchar_t*>(bytes.data());
    if (bytes.size() % sizeof(wchar_t) != 0 || units == 0 || text[units - 1] != L'\0') ThrowHr(NTE_BAD_DATA);
    return text[0] == L'\0' ? nullptr : text;
}

}  // namespace

CZTUserAndSecretWr::CZTUserAndSecretWr() {
    Check(ztfp::Init());
    initialised_ = true;
    try {
        userName_ = ThreadUserName();
    } catch (...) {
        End();
        throw;
    }
}

CZTUserAndSecretWr::~CZTUserAndSecretWr() {
    End();
}

void CZTUserAndSecretWr::End() noexcept {
    if (!initialised_) return;
    initialised_ = false;
    try {
        ztfp::Term();
    } catch (...) {
        // Init bound the library, so Term is there; nothing is left to undo if it were not.
    }
}

HRESULT CZTUserAndSecretWr::ReadSecret(HWND owner, const std::wstring& prompt,
                                       CHeapBlob& secretOut) noexcept {
    ZTTraceNS::CTraceScope scope("CZTUserAndSecretWr::ReadSecret");
    return Guarded(scope, [&] {
        secretOut.Free();
        CLibraryBlob secret;
        const HRESULT hr = IsPersonalMode() ? ReadWithLogonPassword(owner, secret, scope)
                                            : ReadWithVerification(owner, prompt, secret);
        if (hr != S_OK) return hr;
        // A key derived from nothing would be the same for everyone.
        if (secret.Empty()) ThrowHr(NTE_BAD_DATA);
        secretOut = secret;
        return S_OK;
    });
}

HRESULT CZTUserAndSecretWr::ReadWithLogonPassword(HWND owner, CLibraryBlob& secret,
                                                  const ZTTraceNS::CTraceScope& scope) {
    DWORD handle = 0;
    LibraryText text;
    const HRESULT hr = ztsd::VerifyLogonOEMUser(owner, userName_.c_str(), &handle, text.put());
    if (FAILED(hr)) return hr;
    if (handle != 0) {
        Check(ztfp::Authenticate(handle, userName_.c_str(), kApplication, secret.Put()));
        return S_OK;
    }
    const CHeapBlob plain(std::wstring_view(text ? text.get() : L""));
    const wchar_t* password = PasswordIn(plain);
    if (!password) {
        ZTTraceNS::Trace(scope, 0, "Password not available");
        return S_FALSE;
    }
    Check(ztfp::AuthenticateWithPassword(userName_.c_str(), password, kApplication, secret.Put()));
    return S_OK;
}

HRESULT CZTUserAndSecretWr::ReadWithVerification(HWND owner, const std::wstring& prompt,
                                                 CLibraryBlob& secret) {
    DWORD handle = 0;
    const HRESULT hr = ztsd::VerifyUser(owner, prompt.c_str(), userName_.c_str(), &handle);
    if (FAILED(hr)) return hr;
    const HRESULT authenticated = ztfp::Authenticate(handle, userName_.c_str(), kApplication, secret.Put());
    return FAILED(authenticated) ? authenticated : S_OK;
}

HRESULT CZTUserAndSecretWr::WriteSecret(const CHeapBlob& secret) {
    DATA_BLOB blob{static_cast<DWORD>(secret.Bytes().size()), const_cast<BYTE*>(secret.Bytes().data())};
    return ztfp::WriteSecretContent(userName_.c_str(), kApplication, &blob);
}
