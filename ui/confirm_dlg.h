#pragma once
#include <string>

#include "ui/modal_dialog.h"

// The answers to the question whether a file of a risky type is to be encrypted.
enum ConfirmAnswer : int { kAnswerYes = 1, kAnswerNo = 2, kAnswerYesToAll = 3, kAnswerNoToAll = 4 };

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
