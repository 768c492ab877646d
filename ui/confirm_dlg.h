#pragma once
#include <string>

#include "text/run_observer.h"
#include "ui/modal_dialog.h"

class CConfirmDlg : public CModalDialog {
public:
    explicit CConfirmDlg(const std::wstring& fileName);

    // The user's answer. When the question cannot be shown the answer is no: a risky file
    // is never encrypted unasked.
    ConfirmAnswer Ask(HWND owner);

private:
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, WORD id) override;

    std::wstring question_;
};
