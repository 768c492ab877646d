#include "app/authentication/password_dlg.h"

#include <array>
#include <string_view>

#include "app/resources/resource_ids.h"
#include "secret/ztw_str_blob.h"
#include "text/message_box.h"
#include "text/res_string.h"

namespace {

constexpr int kMaxPassword = 256;

// One entry field's text, overwritten with zeros however the handler ends.
class PasswordText {
public:
    PasswordText(HWND dialog, int id) {
        const int length = ::GetDlgItemTextW(dialog, id, text_.data(), static_cast<int>(text_.size()));
        view_ = std::wstring_view(text_.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
    }
    ~PasswordText() { ::SecureZeroMemory(text_.data(), sizeof(text_)); }
    PasswordText(const PasswordText&) = delete;
    PasswordText& operator=(const PasswordText&) = delete;

    std::wstring_view View() const { return view_; }

private:
    // The whole of what the field can hold, so that the confirmation covers every character.
    std::array<wchar_t, kMaxPassword + 1> text_{};
    std::wstring_view view_;
};

}  // namespace

CPasswordDlg::CPasswordDlg() : CModalDialog(IDD_PASSWORD) {}

HRESULT CPasswordDlg::Ask(HWND owner) {
    const INT_PTR result = DoModal(owner);
    if (result == -1) ThrowLastError();
    Check(failure_);
    return result == IDOK ? S_OK : S_FALSE;
}

bool CPasswordDlg::OnInitDialog(HWND dialog) {
    ::SendDlgItemMessageW(dialog, IDC_PASSWORD, EM_LIMITTEXT, kMaxPassword, 0);
    ::SetFocus(::GetDlgItem(dialog, IDC_PASSWORD));
    ::SetDlgItemTextW(dialog, IDC_PASSWORD_PROMPT, LoadResString(IDS_PASSWORD_PROMPT).c_str());
    CentreOnWorkArea(dialog);
    BringToForeground(dialog);
    return false;
}

bool CPasswordDlg::OnCommand(HWND dialog, WORD id) {
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

// The dialog stays open until both fields hold the same password; nothing may be raised
// through the dialog procedure, so a failure to make the secret ends the dialog with it.
void CPasswordDlg::Accept(HWND dialog) {
    const PasswordText password(dialog, IDC_PASSWORD);
    const PasswordText confirmation(dialog, IDC_PASSWORD_CONFIRM);
    if (password.View().empty()) {
        ShowMessage(dialog, IDS_PASSWORD_EMPTY, kErrorMessageStyle);
        return;
    }
    if (confirmation.View() != password.View()) {
        ShowMessage(dialog, IDS_PASSWORDS_DIFFER, kErrorMessageStyle);
        return;
    }
    try {
        CZTWStrBlob secret(password.View());
        secret.HashInPlace(CALG_MD4);
        secret_ = secret;
    } catch (...) {
        failure_ = CurrentExceptionCode();
    }
    ::EndDialog(dialog, IDOK);
}
