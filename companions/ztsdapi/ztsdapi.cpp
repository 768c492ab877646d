// The user-verification library stand-in. Verifying shows a dialog with the caller's prompt.
// Before the user has any secret, OK counts as verified, so that the program can create the
// secret from a new password; from then on the dialog asks for that password and verifies
// only when it is right (its MD4 is a secret of the user), since whoever passes gets the key
// to the user's files. A verification issues a fresh random handle, left in the registry value
// that the fingerprint library stand-in takes it from. The logon-password verification checks
// the typed password the same way and hands it back as Base64 text of a blob obfuscated with
// the calling process's key, as the program expects it. A wrong password is refused with a
// message and the dialog stays open; after five wrong tries in a row each further try waits a
// few seconds. Cancel is answered with HRESULT_FROM_WIN32(WAIT_TIMEOUT), which the program
// ends on without a message.
#include <windows.h>

#include <ntsecapi.h>
#include <wincrypt.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "companions/secret_store/secret_store.h"
#include "core/crypto/obfuscated_blob.h"
#include "core/crypto/xtea_feedback.h"
#include "resource_ids.h"
#include "secret/crypt_blob.h"
#include "secret/obfuscation_key.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr wchar_t kVerificationKey[] = L"SOFTWARE\\Zentaro\\Verification";
constexpr wchar_t kHandleValue[] = L"Handle";
constexpr wchar_t kFailedTriesValue[] = L"FailedTries";
constexpr int kMaxPassword = 256;
// Wrong passwords allowed in a row before every further try waits.
constexpr DWORD kFreeTries = 5;
constexpr UINT kDelayMs = 3000;
constexpr UINT_PTR kDelayTimer = 1;
constexpr HRESULT kAbandoned = HRESULT_FROM_WIN32(WAIT_TIMEOUT);

HMODULE ThisModule() {
    return reinterpret_cast<HMODULE>(&__ImageBase);
}

std::wstring ModuleString(UINT id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(ThisModule(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

RegKey VerificationKey() {
    RegKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kVerificationKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      nullptr, key.put(), nullptr);
    return key;
}

// Wrong passwords in a row, kept with the user, so that starting the dialog again does not
// start the count again.
DWORD FailedTries() {
    DWORD tries = 0, type = 0, size = sizeof(tries);
    const RegKey key = VerificationKey();
    if (!key ||
        ::RegQueryValueExW(key.get(), kFailedTriesValue, nullptr, &type, reinterpret_cast<BYTE*>(&tries),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;
    return tries;
}

void SetFailedTries(DWORD tries) {
    if (const RegKey key = VerificationKey())
        ::RegSetValueExW(key.get(), kFailedTriesValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&tries),
                         sizeof(tries));
}

// What one dialog shows and checks, and what was typed; zeroed when it ends.
struct Request {
    std::wstring prompt;
    std::wstring user;
    int passwordField = 0;
    // The user has a secret: the password must be the one it was made from.
    bool checkPassword = false;
    std::array<wchar_t, kMaxPassword + 1> password{};
    ~Request() { ::SecureZeroMemory(password.data(), sizeof(password)); }
};

Request* RequestOf(HWND dialog) {
    return reinterpret_cast<Request*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

void EnableAnswers(HWND dialog, bool enable) {
    ::EnableWindow(::GetDlgItem(dialog, IDOK), enable);
    ::EnableWindow(::GetDlgItem(dialog, RequestOf(dialog)->passwordField), enable);
}

void OnInit(HWND dialog, Request& request) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&request));
    ::SetDlgItemTextW(dialog, IDC_VERIFY_PROMPT, request.prompt.c_str());
    ::SendDlgItemMessageW(dialog, request.passwordField, EM_LIMITTEXT, kMaxPassword, 0);
    if (request.passwordField == IDC_VERIFY_PASSWORD && !request.checkPassword) {
        ::ShowWindow(::GetDlgItem(dialog, IDC_VERIFY_PASSWORD_LABEL), SW_HIDE);
        ::ShowWindow(::GetDlgItem(dialog, IDC_VERIFY_PASSWORD), SW_HIDE);
    }
    ::SetForegroundWindow(dialog);
}

// The right password ends the dialog; a wrong one is refused and counted, and the dialog stays.
void Judge(HWND dialog, Request& request) {
    if (IsUsersPassword(request.user, request.password.data())) {
        SetFailedTries(0);
        ::EndDialog(dialog, IDOK);
        return;
    }
    SetFailedTries(FailedTries() + 1);
    ::SecureZeroMemory(request.password.data(), sizeof(request.password));
    ::MessageBoxW(dialog, ModuleString(IDS_WRONG_PASSWORD).c_str(), ModuleString(IDS_TITLE).c_str(),
                  MB_OK | MB_ICONERROR);
    ::SetDlgItemTextW(dialog, request.passwordField, L"");
    ::SetFocus(::GetDlgItem(dialog, request.passwordField));
}

void OnOk(HWND dialog, Request& request) {
    ::GetDlgItemTextW(dialog, request.passwordField, request.password.data(),
                      static_cast<int>(request.password.size()));
    if (!request.checkPassword) {
        ::EndDialog(dialog, IDOK);
    } else if (FailedTries() >= kFreeTries) {
        // Guessing gets slow: the answer comes only after a while, and nothing can be typed meanwhile.
        EnableAnswers(dialog, false);
        ::SetTimer(dialog, kDelayTimer, kDelayMs, nullptr);
    } else {
        Judge(dialog, request);
    }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        OnInit(dialog, *reinterpret_cast<Request*>(lParam));
        return TRUE;
    }
    Request* request = RequestOf(dialog);
    if (!request) return FALSE;
    if (message == WM_TIMER && wParam == kDelayTimer) {
        ::KillTimer(dialog, kDelayTimer);
        EnableAnswers(dialog, true);
        Judge(dialog, *request);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const WORD id = LOWORD(wParam);
    if (id == IDOK) OnOk(dialog, *request);
    if (id == IDCANCEL) ::EndDialog(dialog, IDCANCEL);
    return id == IDOK || id == IDCANCEL;
}

HRESULT Show(HWND owner, UINT dialogId, Request& request) {
    const INT_PTR result = ::DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(dialogId), owner, DialogProc,
                                             reinterpret_cast<LPARAM>(&request));
    if (result == -1) return ::GetLastError() ? HRESULT_FROM_WIN32(::GetLastError()) : E_FAIL;
    return result == IDOK ? S_OK : kAbandoned;
}

void Random(void* data, ULONG size) {
    if (!::RtlGenRandom(data, size)) ThrowHr(NTE_FAIL);
}

// A fresh non-zero handle, replacing any earlier one that was never used.
HRESULT IssueHandle(DWORD& handle) {
    try {
        do {
            Random(&handle, sizeof(handle));
        } while (handle == 0);
    } catch (...) {
        return CurrentExceptionCode();
    }
    const RegKey key = VerificationKey();
    const LSTATUS status = key ? ::RegSetValueExW(key.get(), kHandleValue, 0, REG_DWORD,
                                                  reinterpret_cast<const BYTE*>(&handle), sizeof(handle))
                               : ERROR_ACCESS_DENIED;
    if (status == ERROR_SUCCESS) return S_OK;
    handle = 0;
    return HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

Request MakeRequest(const wchar_t* prompt, UINT defaultPrompt, const wchar_t* user, int passwordField) {
    Request request;
    request.prompt = prompt && *prompt ? prompt : ModuleString(defaultPrompt);
    request.user = user ? user : L"";
    request.passwordField = passwordField;
    request.checkPassword = UserHasSecret(request.user);
    return request;
}

// The Base64 text of blob in a buffer of LocalAlloc, which ZTFPBufferFree gives back.
wchar_t* Base64InLocalMemory(const std::vector<std::uint8_t>& blob) {
    const DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    const DWORD size = static_cast<DWORD>(blob.size());
    DWORD chars = 0;
    Check(::CryptBinaryToStringW(blob.data(), size, flags, nullptr, &chars));
    LocalMemory text(::LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, (chars + 1) * sizeof(wchar_t)));
    if (!text) ThrowHr(E_OUTOFMEMORY);
    Check(::CryptBinaryToStringW(blob.data(), size, flags, static_cast<wchar_t*>(text.get()), &chars));
    return static_cast<wchar_t*>(text.release());
}

// The password as the program deobfuscates it: its UTF-16 units and terminator, enciphered
// with this process's key from a random initial vector.
wchar_t* ObfuscatedPassword(std::wstring_view password) {
    const CWideStringBlob plain(password);
    std::array<std::uint8_t, 8> ivBytes{};
    Random(ivBytes.data(), static_cast<ULONG>(ivBytes.size()));
    const core::XteaBlock iv = core::XteaBlockFromBytes(ivBytes);
    const std::vector<std::uint8_t> cipher =
        core::XteaFeedbackEncipher(plain.Bytes(), ProcessObfuscationKey(), iv);
    return Base64InLocalMemory(core::BuildObfuscatedBlob(iv, cipher));
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTSDVerifyUser(HWND owner, const wchar_t* prompt, DWORD, const wchar_t* user, DWORD, DWORD* handle) {
    if (!handle) return E_POINTER;
    *handle = 0;
    Request request = MakeRequest(prompt, IDS_VERIFY_PROMPT, user, IDC_VERIFY_PASSWORD);
    const HRESULT hr = Show(owner, IDD_VERIFY, request);
    return FAILED(hr) ? hr : IssueHandle(*handle);
}

// The handle is always 0: the password itself is what the caller authenticates with.
extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTSDVerifyLogonOEMUser(HWND owner, const wchar_t* prompt, DWORD, const wchar_t* user, DWORD,
                           DWORD* handle, wchar_t** text) {
    if (!handle || !text) return E_POINTER;
    *handle = 0;
    *text = nullptr;
    Request request = MakeRequest(prompt, IDS_LOGON_PROMPT, user, IDC_LOGON_PASSWORD);
    if (const HRESULT hr = Show(owner, IDD_LOGON_PASSWORD, request); FAILED(hr)) return hr;
    try {
        *text = ObfuscatedPassword(request.password.data());
        return S_OK;
    } catch (...) {
        return CurrentExceptionCode();
    }
}
