#pragma once
#include <windows.h>

#include <memory>
#include <span>

#include "secret/user_secret.h"

class CFingerprintSession;

// The current user's secret for one run, kept by the fingerprint library: the user is verified
// through the verification library (in personal mode with the logon password), and on first
// use a new password, typed twice, makes the secret that the library keeps for later runs.
class CLibrarySecret final : private CSecretStore {
public:
    explicit CLibrarySecret(int operationKind);
    ~CLibrarySecret();
    CLibrarySecret(const CLibrarySecret&) = delete;
    CLibrarySecret& operator=(const CLibrarySecret&) = delete;

    // As CUserSecret::Load. The session with the library lasts only as long as the call.
    HRESULT Load(HWND owner);

    std::span<const BYTE> Secret() const { return secret_.Bytes(); }

private:
    HRESULT Read(HWND owner, CHeapBlob& secret) override;
    HRESULT Write(const CHeapBlob& secret) override;

    int operationKind_;
    std::unique_ptr<CFingerprintSession> session_;
    CUserSecret secret_;
};
