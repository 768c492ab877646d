#pragma once
#include "ui/modal_dialog.h"
#include "ui/report.h"

// Shows a run's report; its title says whether the run encrypted or decrypted.
class CReportDlg : public CModalDialog {
public:
    // operationKind: 1 encrypt, 2 decrypt, 4 decrypt and open.
    CReportDlg(const CReport& report, int operationKind);

private:
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, WORD id) override;

    const CReport& report_;
    int operationKind_;
};
