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

void ShowCurrentHelp(HWND hookDialog) {
    if (const CHelp* help = CurrentHelp()) help->ShowHelp(Frame(hookDialog), help->Topic());
}

void ShowProductHelp(HWND hookDialog) {
    if (IsPersonalMode()) {
        OpenOnlineHelp(kPersonalModeHelpTopic, kOnlineHelpProductId);
    } else {
        ShowCurrentHelp(hookDialog);
    }
}

UINT_PTR Answer(HWND hookDialog, UINT message, LPARAM lParam, void (*showHelp)(HWND)) {
    if (message == WM_INITDIALOG) {
        CentreOnWorkArea(Frame(hookDialog));
    } else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_HELP) {
        showHelp(hookDialog);
    }
    // The dialog goes on with its own handling of every message.
    return 0;
}

}  // namespace

UINT_PTR CALLBACK SelectionDialogHook(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
    return Answer(hookDialog, message, lParam, ShowProductHelp);
}

UINT_PTR CALLBACK CurrentHelpDialogHook(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
    return Answer(hookDialog, message, lParam, ShowCurrentHelp);
}
