#include "ui/modal_dialog.h"

#include "text/resource_module.h"

INT_PTR CModalDialog::DoModal(HWND owner) {
    return ::DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), owner, Procedure,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CModalDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return reinterpret_cast<CModalDialog*>(lParam)->OnInitDialog(dialog) ? TRUE : FALSE;
    }
    auto* self = reinterpret_cast<CModalDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_COMMAND) return self->OnCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    return self->OnMessage(dialog, message, wParam, lParam) ? TRUE : FALSE;
}

void CModalDialog::BringToForeground(HWND dialog) {
    const DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const DWORD ownThread = ::GetCurrentThreadId();
    const bool attach = foregroundThread != 0 && foregroundThread != ownThread;
    if (attach) ::AttachThreadInput(ownThread, foregroundThread, TRUE);
    ::SetForegroundWindow(dialog);
    if (attach) ::AttachThreadInput(ownThread, foregroundThread, FALSE);
}
