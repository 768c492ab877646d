#pragma once
#include <windows.h>

#include "secret/password_dialog.h"

// Asks for the password that makes a new secret, twice, and turns it into that secret.
class CPasswordDlg : public CPasswordDialog {
public:
    CPasswordDlg();

private:
    bool OnInitDialog(HWND dialog) override;
    void Accept(HWND dialog) override;
};
