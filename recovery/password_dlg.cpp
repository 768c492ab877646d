#include "recovery/password_dlg.h"

#include "recovery/resources/resource_ids.h"
#include "text/message_box.h"

CPasswordDlg::CPasswordDlg() : CPasswordDialog(IDD_PASSWORD) {}

bool CPasswordDlg::OnInitDialog(HWND dialog) {
    PrepareField(dialog, IDC_PASSWORD);
    CentreOnWorkArea(dialog);
    return false;
}

// Whether the password is the right one shows only when the files are decrypted with it.
void CPasswordDlg::Accept(HWND dialog) {
    const CPasswordText password(dialog, IDC_PASSWORD);
    if (password.View().empty()) {
        ShowMessage(dialog, IDS_PASSWORD_EMPTY, kErrorMessageStyle);
        return;
    }
    MakeSecret(dialog, password.View());
}
