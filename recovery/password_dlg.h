#pragma once
#include <windows.h>

#include "secret/password_dialog.h"

// Asks once for the password the user's secret was made from, and turns it into that secret.
class CPasswordDlg : public CPasswordDialog {
public:
    CPasswordDlg();

private:
    bool OnInitDialog(HWND dialog) override;
    void Accept(HWND dialog) override;
};
