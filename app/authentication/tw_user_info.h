#pragma once
#include <windows.h>

#include <wincrypt.h>

#include <span>

#include "secret/crypt_blob.h"

class CZTUserAndSecretWr;

// The current user's secret for one run: obtained once through the verification and
// fingerprint libraries (or a new password on first use) and held until the run ends.
class CTWUserInfo {
public:
    explicit CTWUserInfo(int operationKind) : operationKind_(operationKind) {}

    // 0: the secret is held; 1: none is available (empty personal-mode password, or the
    // new-password dialog was cancelled); negative: the failure's code.
    HRESULT LoadCurrentUserSecret(HWND owner);

    std::span<const BYTE> Secret() const { return secret_.Bytes(); }

private:
    HRESULT CreateSecret(CZTUserAndSecretWr& wrapper);

    int operationKind_;
    CCryptBlob<DATA_BLOB, _heap_allocator> secret_;
    bool loaded_ = false;
};
