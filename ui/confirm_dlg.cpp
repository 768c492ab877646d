#include "ui/confirm_dlg.h"

#include "core/text/text_format.h"
#include "text/res_string.h"
#include "ui/ui_ids.h"
#include "win/wide_text.h"

CConfirmDlg::CConfirmDlg(const std::wstring& fileName)
    : CModalDialog(IDD_CONFIRM),
      question_(ToWide(core::FormatText(AsU16(LoadResString(IDS_CONFIRM_QUESTION)), {AsU16(fileName)}))) {}

ConfirmAnswer CConfirmDlg::Ask(HWND owner) {
    const INT_PTR answer = DoModal(owner);
    return answer >= kAnswerYes && answer <= kAnswerNoToAll ? static_cast<ConfirmAnswer>(answer) : kAnswerNo;
}

bool CConfirmDlg::OnInitDialog(HWND dialog) {
    ::SetDlgItemTextW(dialog, IDC_CONFIRM_WARNING, LoadResString(IDS_CONFIRM_WARNING).c_str());
    ::SetDlgItemTextW(dialog, IDC_CONFIRM_QUESTION, question_.c_str());
    CentreOnWorkArea(dialog);
    return true;
}

bool CConfirmDlg::OnCommand(HWND dialog, WORD id) {
    switch (id) {
        case IDOK:
            return ::EndDialog(dialog, kAnswerYes);
        case IDCANCEL:
            return ::EndDialog(dialog, kAnswerNo);
        case IDC_YES_TO_ALL:
            return ::EndDialog(dialog, kAnswerYesToAll);
        case IDC_NO_TO_ALL:
            return ::EndDialog(dialog, kAnswerNoToAll);
        default:
            return false;
    }
}
