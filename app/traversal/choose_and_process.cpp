#include "app/resources/resource_ids.h"
#include "app/traversal/file_list.h"
#include "app/traversal/interactive_run.h"
#include "engine/encryption_decryption.h"
#include "text/res_string.h"
#include "text/settings.h"
#include "trace/trace_scope.h"
#include "ui/common_dlg.h"
#include "ui/current_help.h"
#include "ui/selection_dialog_hook.h"

namespace {

struct Selection {
    UINT titleId;
    const wchar_t* helpTopic;
    int operationKind;
};

void ChooseAndProcess(HWND owner, const Selection& selection) {
    const CInteractiveRun interactive;
    // In personal mode the dialog's help is the online help, and the current help stays.
    if (!IsPersonalMode()) SetCurrentHelp(std::make_unique<CHelp>(L"ztcrypt", selection.helpTopic));
    CCommonDlg dialog(owner, LoadResString(selection.titleId), SelectionDialogHook);
    if (selection.operationKind == kOperationDecrypt)
        dialog.AppendFilter(LoadResString(IDS_FILTER_ENCRYPTED), L"*.zte");
    dialog.AppendFilter(LoadResString(IDS_FILTER_ALL), L"*.*");
    if (dialog.ChooseFiles() == 1 && dialog.Count() > 0)
        ProcessFileList(owner, dialog, selection.operationKind);
}

}  // namespace

void ChooseAndEncrypt(HWND owner) {
    trace::CTraceScope scope("ChooseAndEncrypt");
    ChooseAndProcess(owner, {IDS_CHOOSE_ENCRYPT, L"/encrypting_files.htm", kOperationEncrypt});
}

void ChooseAndDecrypt(HWND owner) {
    trace::CTraceScope scope("ChooseAndDecrypt");
    ChooseAndProcess(owner, {IDS_CHOOSE_DECRYPT, L"/decrypting_files.htm", kOperationDecrypt});
}
