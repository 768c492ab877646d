#include "ui/report_dlg.h"

#include "core/command_line/operation_kind.h"
#include "text/res_string.h"
#include "ui/ui_ids.h"

CReportDlg::CReportDlg(const CReport& report, int operationKind)
    : CModalDialog(IDD_REPORT), report_(report), operationKind_(operationKind) {}

bool CReportDlg::OnInitDialog(HWND dialog) {
    std::wstring text;
    for (std::size_t i = 0; i < report_.Count(); ++i) text += report_.GetAt(i);
    ::SetDlgItemTextW(dialog, IDC_REPORT_TEXT, text.c_str());
    ::SetWindowTextW(
        dialog,
        LoadResString(operationKind_ == kOperationEncrypt ? IDS_REPORT_ENCRYPT : IDS_REPORT_DECRYPT).c_str());
    CentreOnWorkArea(dialog);
    BringToForeground(dialog);
    // Focus on the button: focus in the text would select all of it.
    ::SetFocus(::GetDlgItem(dialog, IDCANCEL));
    return false;
}

bool CReportDlg::OnCommand(HWND dialog, WORD id) {
    if (id != IDCANCEL) return false;
    ::EndDialog(dialog, 1);
    return true;
}
