#include "app/traversal/selection_dialog_hook.h"

#include <commdlg.h>

#include "app/online_help.h"
#include "app/settings.h"
#include "app/traversal/current_help.h"

namespace {

constexpr int kPersonalModeHelpTopic = 26;

// An Explorer-style dialog's hook runs in a child of the dialog's frame.
HWND Frame(HWND hookDialog) {
    return ::GetParent(hookDialog);
}

void ShowHelp(HWND hookDialog) {
    if (IsPersonalMode()) {
        OpenOnlineHelp(kPersonalModeHelpTopic, kOnlineHelpProductId);
    } else if (const CHelp* help = CurrentHelp()) {
        help->ShowHelp(Frame(hookDialog), help->Topic());
    }
}

}  // namespace

void CentreSelectionDialog(HWND hookDialog) {
    const HWND frame = Frame(hookDialog);
    RECT area{};
    RECT window{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) || !::GetWindowRect(frame, &window)) return;
    const LONG left = area.left + ((area.right - area.left) - (window.right - window.left)) / 2;
    const LONG top = area.top + ((area.bottom - area.top) - (window.bottom - window.top)) / 2;
    ::SetWindowPos(frame, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT_PTR CALLBACK SelectionDialogHook(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CentreSelectionDialog(hookDialog);
    } else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_HELP) {
        ShowHelp(hookDialog);
    }
    // The dialog goes on with its own handling of every message.
    return 0;
}
