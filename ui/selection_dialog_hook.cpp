#include "ui/selection_dialog_hook.h"

#include <commdlg.h>

#include "text/online_help.h"
#include "text/settings.h"
#include "ui/current_help.h"
#include "ui/window_placement.h"

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
    CentreOnWorkArea(Frame(hookDialog));
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
