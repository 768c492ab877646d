#pragma once
#include <windows.h>

#include "secret/crypt_blob.h"
#include "ui/modal_dialog.h"

// Asks for the password that makes a new secret, twice, and turns it into that secret: the
// MD4 digest of the password's UTF-16 units and terminator.
class CPasswordDlg : public CModalDialog {
public:
    CPasswordDlg();

    // S_OK with the secret, S_FALSE when the user cancelled. A dialog that cannot be shown, or
    // a secret that cannot be made, is raised.
    HRESULT Ask(HWND owner);
    const CHeapBlob& Secret() const { return secret_; }

private:
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, WORD id) override;
    void Accept(HWND dialog);

    CHeapBlob secret_;
    HRESULT failure_ = S_OK;
};
