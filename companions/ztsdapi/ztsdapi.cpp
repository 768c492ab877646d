// The user-verification library stand-in. Verifying shows a dialog with the caller's prompt;
// OK counts as a verified user (the stand-in has no fingerprint reader) and issues a fresh
// random handle, left in the registry value that the fingerprint library stand-in takes it
// from. The logon-password verification hands the typed password back as Base64 text of a
// blob obfuscated with the calling process's key, as the program expects it.
#include <windows.h>

#include <ntsecapi.h>
#include <wincrypt.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/obfuscated_blob.h"
#include "core/xtea_feedback.h"
#include "resource_ids.h"
#include "secret/obfuscation_key.h"
#include "secret/ztw_str_blob.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr wchar_t kVerificationKey[] = L"SOFTWARE\\Zentaro\\Verification";
constexpr wchar_t kHandleValue[] = L"Handle";
constexpr int kMaxPassword = 256;

HMODULE ThisModule() {
    return reinterpret_cast<HMODULE>(&__ImageBase);
}

std::wstring ModuleString(UINT id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(ThisModule(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

// What one dialog shows and, for the logon dialog, what was typed; zeroed when it ends.
struct Request {
    std::wstring prompt;
    std::array<wchar_t, kMaxPassword + 1> password{};
    ~Request() { ::SecureZeroMemory(password.data(), sizeof(password)); }
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        ::SetDlgItemTextW(dialog, IDC_VERIFY_PROMPT, reinterpret_cast<Request*>(lParam)->prompt.c_str());
        ::SendDlgItemMessageW(dialog, IDC_LOGON_PASSWORD, EM_LIMITTEXT, kMaxPassword, 0);
        ::SetForegroundWindow(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const WORD id = LOWORD(wParam);
    if (id == IDOK) {
        auto* request = reinterpret_cast<Request*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        ::GetDlgItemTextW(dialog, IDC_LOGON_PASSWORD, request->password.data(),
                          static_cast<int>(request->password.size()));
    }
    if (id == IDOK || id == IDCANCEL) ::EndDialog(dialog, id);
    return id == IDOK || id == IDCANCEL;
}

HRESULT Show(HWND owner, UINT dialogId, Request& request) {
    const INT_PTR result = ::DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(dialogId), owner, DialogProc,
                                             reinterpret_cast<LPARAM>(&request));
    if (result == -1) return ::GetLastError() ? HRESULT_FROM_WIN32(::GetLastError()) : E_FAIL;
    return result == IDOK ? S_OK : HRESULT_FROM_WIN32(ERROR_CANCELLED);
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
    RegKey key;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, kVerificationKey, 0, nullptr, 0, KEY_SET_VALUE,
                                       nullptr, key.put(), nullptr);
    if (status == ERROR_SUCCESS)
        status = ::RegSetValueExW(key.get(), kHandleValue, 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&handle), sizeof(handle));
    if (status == ERROR_SUCCESS) return S_OK;
    handle = 0;
    return HRESULT_FROM_WIN32(static_cast<DWORD>(status));
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
    const CZTWStrBlob plain(password);
    std::array<std::uint8_t, 8> ivBytes{};
    Random(ivBytes.data(), static_cast<ULONG>(ivBytes.size()));
    const core::XteaBlock iv = core::XteaBlockFromBytes(ivBytes);
    const std::vector<std::uint8_t> cipher =
        core::XteaFeedbackEncipher(plain.Bytes(), ProcessObfuscationKey(), iv);
    return Base64InLocalMemory(core::BuildObfuscatedBlob(iv, cipher));
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTSDVerifyUser(HWND owner, const wchar_t* prompt, DWORD, const wchar_t*, DWORD, DWORD* handle) {
    if (!handle) return E_POINTER;
    *handle = 0;
    Request request;
    request.prompt = prompt && *prompt ? prompt : ModuleString(IDS_VERIFY_PROMPT);
    const HRESULT hr = Show(owner, IDD_VERIFY, request);
    return FAILED(hr) ? hr : IssueHandle(*handle);
}

// The handle is always 0: the password itself is what the caller authenticates with.
extern "C" __declspec(dllexport) HRESULT WINAPI
    ZTSDVerifyLogonOEMUser(HWND owner, const wchar_t* prompt, DWORD, const wchar_t*, DWORD, DWORD* handle,
                           wchar_t** text) {
    if (!handle || !text) return E_POINTER;
    *handle = 0;
    *text = nullptr;
    Request request;
    request.prompt = prompt && *prompt ? prompt : ModuleString(IDS_LOGON_PROMPT);
    if (const HRESULT hr = Show(owner, IDD_LOGON_PASSWORD, request); FAILED(hr)) return hr;
    try {
        *text = ObfuscatedPassword(request.password.data());
        return S_OK;
    } catch (...) {
        return CurrentExceptionCode();
    }
}
