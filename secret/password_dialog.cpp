#include "secret/password_dialog.h"

#include "text/message_box.h"
#include "text/res_string.h"

void MakePasswordSecret(std::wstring_view password, CHeapBlob& secret) {
    CWideStringBlob digest(password);
    digest.HashInPlace(CALG_MD4);
    secret = digest;
}

HRESULT CPasswordDialog::Ask(HWND owner) {
    const INT_PTR result = DoModal(owner);
    if (result == -1) ThrowLastError();
    Check(failure_);
    return result == IDOK ? S_OK : S_FALSE;
}

bool CPasswordDialog::OnInitDialog(HWND dialog) {
    ::SendDlgItemMessageW(dialog, layout_.field, EM_LIMITTEXT, kMaxPassword, 0);
    ::SetFocus(::GetDlgItem(dialog, layout_.field));
    if (layout_.prompt != 0)
        ::SetDlgItemTextW(dialog, layout_.prompt, LoadResString(layout_.promptText).c_str());
    CentreOnWorkArea(dialog);
    if (layout_.foreground) BringToForeground(dialog);
    return false;
}

// The dialog stays open until the field holds a password, and a confirmation the same one.
void CPasswordDialog::Accept(HWND dialog) {
    const CPasswordText password(dialog, layout_.field);
    if (password.View().empty()) {
        ShowMessage(dialog, layout_.emptyMessage, kErrorMessageStyle);
        return;
    }
    if (layout_.confirmation != 0 && CPasswordText(dialog, layout_.confirmation).View() != password.View()) {
        ShowMessage(dialog, layout_.differMessage, kErrorMessageStyle);
        return;
    }
    MakeSecret(dialog, password.View());
}

void CPasswordDialog::MakeSecret(HWND dialog, std::wstring_view password) {
    try {
        MakePasswordSecret(password, secret_);
    } catch (...) {
        failure_ = CurrentExceptionCode();
    }
    ::EndDialog(dialog, IDOK);
}

bool CPasswordDialog::OnCommand(HWND dialog, WORD id) {
    if (id == IDOK) {
        Accept(dialog);
        return true;
    }
    if (id == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return true;
    }
    return false;
}

CPasswordText::CPasswordText(HWND dialog, int id) {
    const int length = ::GetDlgItemTextW(dialog, id, text_.data(), static_cast<int>(text_.size()));
    view_ = std::wstring_view(text_.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}
