#pragma once
#include <windows.h>

#include <span>

#include "secret/crypt_blob.h"
#include "secret/password_dialog.h"

// Where a program keeps its users' secrets between runs.
class CSecretStore {
public:
    // 0 with the secret; 1 when none is available; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
    // when none is stored yet; otherwise the failure's code.
    virtual HRESULT Read(HWND owner, CHeapBlob& secret) = 0;
    // Stores a new secret for later runs; the store's result.
    virtual HRESULT Write(const CHeapBlob& secret) = 0;

protected:
    ~CSecretStore() = default;
};

// The current user's secret for one run, obtained once and held until the run ends. With a
// store it is read from there, and a new password makes it when none is stored yet; without
// one it is made from the password the user types. The dialog is owned by the active window.
class CUserSecret {
public:
    explicit CUserSecret(const PasswordDialogLayout& dialog) : dialog_(dialog) {}

    // 0: the secret is held; 1: none is available (an empty personal-mode password, or the
    // password dialog was cancelled); negative: the failure's code.
    HRESULT Load(HWND owner, CSecretStore* store);

    std::span<const BYTE> Bytes() const { return secret_.Bytes(); }

private:
    HRESULT AskPassword(CSecretStore* store);

    PasswordDialogLayout dialog_;
    CHeapBlob secret_;
    bool loaded_ = false;
};
