#include "app/authentication/password_dlg.h"

#include "app/resources/resource_ids.h"
#include "text/message_box.h"
#include "text/res_string.h"

CPasswordDlg::CPasswordDlg() : CPasswordDialog(IDD_PASSWORD) {}

bool CPasswordDlg::OnInitDialog(HWND dialog) {
    PrepareField(dialog, IDC_PASSWORD);
    ::SetDlgItemTextW(dialog, IDC_PASSWORD_PROMPT, LoadResString(IDS_PASSWORD_PROMPT).c_str());
    CentreOnWorkArea(dialog);
    BringToForeground(dialog);
    return false;
}

// The dialog stays open until both fields hold the same password.
void CPasswordDlg::Accept(HWND dialog) {
    const CPasswordText password(dialog, IDC_PASSWORD);
    const CPasswordText confirmation(dialog, IDC_PASSWORD_CONFIRM);
    if (password.View().empty()) {
        ShowMessage(dialog, IDS_PASSWORD_EMPTY, kErrorMessageStyle);
        return;
    }
    if (confirmation.View() != password.View()) {
        ShowMessage(dialog, IDS_PASSWORDS_DIFFER, kErrorMessageStyle);
        return;
    }
    MakeSecret(dialog, password.View());
}
