#pragma once
#include <windows.h>

#include <string>

#include "app/authentication/ztfp_allocator.h"

// The current user's session with the fingerprint library for one secret lookup: initialised
// on construction (a failure is raised), terminated when the object ends.
class CZTUserAndSecretWr {
public:
    CZTUserAndSecretWr();
    ~CZTUserAndSecretWr();
    CZTUserAndSecretWr(const CZTUserAndSecretWr&) = delete;
    CZTUserAndSecretWr& operator=(const CZTUserAndSecretWr&) = delete;

    // Has the user verified and copies the stored secret into secretOut: 0 with the secret,
    // 1 when the personal-mode password is empty, else the failure's code (also for anything
    // raised inside). HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) means no secret is stored yet.
    HRESULT ReadSecret(HWND owner, const std::wstring& prompt, CHeapBlob& secretOut) noexcept;

    // Stores a new secret for later runs; the library's result.
    HRESULT WriteSecret(const CHeapBlob& secret);

private:
    HRESULT ReadWithLogonPassword(HWND owner, CLibraryBlob& secret, const ZTTraceNS::CTraceScope& scope);
    HRESULT ReadWithVerification(HWND owner, const std::wstring& prompt, CLibraryBlob& secret);
    void End() noexcept;

    bool initialised_ = false;
    std::wstring userName_;
};
