#include "secret/password_dialog.h"

#include "secret/ztw_str_blob.h"

void MakePasswordSecret(std::wstring_view password, CHeapBlob& secret) {
    CZTWStrBlob digest(password);
    digest.HashInPlace(CALG_MD4);
    secret = digest;
}

HRESULT CPasswordDialog::Ask(HWND owner) {
    const INT_PTR result = DoModal(owner);
    if (result == -1) ThrowLastError();
    Check(failure_);
    return result == IDOK ? S_OK : S_FALSE;
}

void CPasswordDialog::PrepareField(HWND dialog, int id) {
    ::SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, kMaxPassword, 0);
    ::SetFocus(::GetDlgItem(dialog, id));
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
