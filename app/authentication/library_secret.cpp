#include "app/authentication/library_secret.h"

#include <cwchar>
#include <string>

#include "app/authentication/thread_user_name.h"
#include "app/authentication/ztfp_api.h"
#include "app/authentication/ztsd_api.h"
#include "app/resources/resource_ids.h"
#include "core/command_line/operation_kind.h"
#include "text/res_string.h"
#include "text/settings.h"
#include "trace/operation.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kApplication[] = L"Tapwise Crypto";

constexpr PasswordDialogLayout kNewPasswordDialog{
    .templateId = IDD_PASSWORD,
    .field = IDC_PASSWORD,
    .confirmation = IDC_PASSWORD_CONFIRM,
    .prompt = IDC_PASSWORD_PROMPT,
    .promptText = IDS_PASSWORD_PROMPT,
    .emptyMessage = IDS_PASSWORD_EMPTY,
    .differMessage = IDS_PASSWORDS_DIFFER,
    // The program may have been started from the shell while another window is active.
    .foreground = true,
};

// The verification library's text is given back zeroed, like every buffer of the libraries.
void FreeLibraryText(wchar_t* text) {
    ztfp::LibraryAllocator::Free(reinterpret_cast<BYTE*>(text),
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

// The current user's session with the fingerprint library for one secret lookup: initialised
// on construction (a failure is raised), terminated when the object ends.
class CFingerprintSession {
public:
    CFingerprintSession();
    ~CFingerprintSession();
    CFingerprintSession(const CFingerprintSession&) = delete;
    CFingerprintSession& operator=(const CFingerprintSession&) = delete;

    // Has the user verified and copies the stored secret into secretOut: 0 with the secret,
    // 1 when the personal-mode password is empty, else the failure's code (also for anything
    // raised inside). HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) means no secret is stored yet.
    HRESULT ReadSecret(HWND owner, const std::wstring& prompt, CHeapBlob& secretOut) noexcept;

    // Stores a new secret for later runs; the library's result.
    HRESULT WriteSecret(const CHeapBlob& secret);

private:
    HRESULT ReadWithLogonPassword(HWND owner, CLibraryBlob& secret, const trace::CTraceScope& scope);
    HRESULT ReadWithVerification(HWND owner, const std::wstring& prompt, CLibraryBlob& secret);
    void End() noexcept;

    bool initialised_ = false;
    std::wstring userName_;
};

CFingerprintSession::CFingerprintSession() {
    Check(ztfp::Init());
    initialised_ = true;
    try {
        userName_ = ThreadUserName();
    } catch (...) {
        End();
        throw;
    }
}

CFingerprintSession::~CFingerprintSession() {
    End();
}

void CFingerprintSession::End() noexcept {
    if (!initialised_) return;
    initialised_ = false;
    try {
        ztfp::Term();
    } catch (...) {
        // Init bound the library, so Term is there; nothing is left to undo if it were not.
    }
}

HRESULT CFingerprintSession::ReadSecret(HWND owner, const std::wstring& prompt,
                                        CHeapBlob& secretOut) noexcept {
    trace::CTraceScope scope("CFingerprintSession::ReadSecret");
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

HRESULT CFingerprintSession::ReadWithLogonPassword(HWND owner, CLibraryBlob& secret,
                                                   const trace::CTraceScope& scope) {
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
        trace::Trace(scope, 0, "Password not available");
        return S_FALSE;
    }
    Check(ztfp::AuthenticateWithPassword(userName_.c_str(), password, kApplication, secret.Put()));
    return S_OK;
}

HRESULT CFingerprintSession::ReadWithVerification(HWND owner, const std::wstring& prompt,
                                                  CLibraryBlob& secret) {
    DWORD handle = 0;
    const HRESULT hr = ztsd::VerifyUser(owner, prompt.c_str(), userName_.c_str(), &handle);
    if (FAILED(hr)) return hr;
    const HRESULT authenticated = ztfp::Authenticate(handle, userName_.c_str(), kApplication, secret.Put());
    return FAILED(authenticated) ? authenticated : S_OK;
}

HRESULT CFingerprintSession::WriteSecret(const CHeapBlob& secret) {
    DATA_BLOB blob{static_cast<DWORD>(secret.Bytes().size()), const_cast<BYTE*>(secret.Bytes().data())};
    return ztfp::WriteSecretContent(userName_.c_str(), kApplication, &blob);
}

CLibrarySecret::CLibrarySecret(int operationKind)
    : operationKind_(operationKind), secret_(kNewPasswordDialog) {}

CLibrarySecret::~CLibrarySecret() = default;

HRESULT CLibrarySecret::Load(HWND owner) {
    const HRESULT hr = secret_.Load(owner, this);
    session_.reset();
    return hr;
}

HRESULT CLibrarySecret::Read(HWND owner, CHeapBlob& secret) {
    const std::wstring prompt =
        LoadResString(operationKind_ == kOperationEncrypt ? IDS_VERIFY_ENCRYPT : IDS_VERIFY_DECRYPT);
    session_ = std::make_unique<CFingerprintSession>();
    return session_->ReadSecret(owner, prompt, secret);
}

HRESULT CLibrarySecret::Write(const CHeapBlob& secret) {
    return session_->WriteSecret(secret);
}
