#include "app/authentication/ztsd_api.h"

#include "app/authentication/ztfp_api.h"
#include "win/delay_loaded_library.h"

namespace ztsd {
namespace {

CDelayLoadedLibrary& VerificationLibrary() {
    static CDelayLoadedLibrary library(L"ZTSDApi.dll");
    return library;
}

}  // namespace

HRESULT VerifyUser(HWND owner, const wchar_t* prompt, const wchar_t* user, DWORD* handle) {
    using Fn = HRESULT(WINAPI*)(HWND, const wchar_t*, DWORD, const wchar_t*, DWORD, DWORD*);
    return VerificationLibrary().Entry<Fn>("ZTSDVerifyUser")(owner, prompt, 0, user, ztfp::kUserKind, handle);
}

HRESULT VerifyLogonOEMUser(HWND owner, const wchar_t* user, DWORD* handle, wchar_t** text) {
    using Fn = HRESULT(WINAPI*)(HWND, const wchar_t*, DWORD, const wchar_t*, DWORD, DWORD*, wchar_t**);
    return VerificationLibrary().Entry<Fn>("ZTSDVerifyLogonOEMUser")(owner, nullptr, 0, user, ztfp::kUserKind,
                                                                     handle, text);
}

}  // namespace ztsd
