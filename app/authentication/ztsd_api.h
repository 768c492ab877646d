#pragma once
#include <windows.h>

// The calls into the user-verification library ZTSDApi.dll, bound at the first call. Results
// are the library's own; only a library or entry that cannot be bound is raised. The user
// kind passed after the user name is ztfp::kUserKind.
namespace ztsd {

// On success a handle that the fingerprint library accepts as proof of the verification.
HRESULT VerifyUser(HWND owner, const wchar_t* prompt, const wchar_t* user, DWORD* handle);

// On success either a non-zero handle, or handle 0 and, in text, the Base64 text of the
// logon password obfuscated for this process; the text is freed with ztfp::BufferFree.
HRESULT VerifyLogonOEMUser(HWND owner, const wchar_t* user, DWORD* handle, wchar_t** text);

}  // namespace ztsd
