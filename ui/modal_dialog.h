#pragma once
#include <windows.h>

#include "ui/window_placement.h"

// A modal dialog from a template of the resource module. Subclasses react to the dialog's
// initialisation and commands; the dialog procedure routes messages to the object.
class CModalDialog {
public:
    CModalDialog(const CModalDialog&) = delete;
    CModalDialog& operator=(const CModalDialog&) = delete;

    // The dialog's result, or -1 when it could not be shown (no display, no template).
    INT_PTR DoModal(HWND owner);

protected:
    explicit CModalDialog(UINT templateId) : templateId_(templateId) {}
    virtual ~CModalDialog() = default;

    // True to let the system focus the first control, false when the subclass set focus.
    virtual bool OnInitDialog(HWND dialog) = 0;
    // True when the command was handled.
    virtual bool OnCommand(HWND dialog, WORD id) = 0;
    // Any other message; true when handled.
    virtual bool OnMessage(HWND, UINT, WPARAM, LPARAM) { return false; }

    // A dialog started by a program in the background must still come up in front.
    static void BringToForeground(HWND dialog);

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    UINT templateId_;
};
