#include "recovery/recovery_run.h"

#include <memory>

#include "engine/engine_ids.h"
#include "engine/file_decryption.h"
#include "engine/walk.h"
#include "recovery/resources/resource_ids.h"
#include "secret/user_secret.h"
#include "text/integer_text.h"
#include "text/message_box.h"
#include "text/res_string.h"
#include "trace/operation.h"
#include "ui/common_dlg.h"
#include "ui/current_help.h"
#include "ui/run_dialogs.h"
#include "ui/selection_dialog_hook.h"
#include "win/raised_priority.h"

namespace {

// A recovery hands every file to the engine whatever its attributes or kind (the engine
// leaves alone what is not an encrypted file) and walks every folder but a linked one: the
// encrypted files beyond it stay as they are, and the user must hear of them. It leaves the
// user's list of decrypted items as it is.
class CRecoveryWalk : public CWalkPolicy {
public:
    std::optional<UINT> SkipEntry(const std::wstring& /*path*/, DWORD attributes) const override {
        if (IsLinkedFolder(attributes)) return IDS_SKIPPED_LINK_DECRYPT;
        return std::nullopt;
    }
    bool RecordsNamedItems() const override { return false; }
};

// The password the files were encrypted with, asked once: whether it is the right one shows
// only when the files are decrypted with it.
constexpr PasswordDialogLayout kPasswordDialog{
    .templateId = IDD_PASSWORD,
    .field = IDC_PASSWORD,
    .emptyMessage = IDS_PASSWORD_EMPTY,
};

// The help the dialog's Help button opens lives only as long as the dialog.
int ChooseWithHelp(CCommonDlg& dialog) {
    SetCurrentHelp(std::make_unique<CHelp>(L"ztcrypt", L"/twc_recovery.htm"));
    const int chosen = dialog.ChooseFiles();
    SetCurrentHelp(nullptr);
    return chosen;
}

void ShowSecretFailure(HRESULT failure) {
    const std::wstring text = FormatInteger(LoadResString(IDS_SECRET_FAILED), static_cast<DWORD>(failure));
    ShowMessageText(nullptr, text, kErrorMessageStyle);
}

void Decrypt(HWND owner, const CStringList& paths, std::span<const BYTE> secret) {
    CRunDialogs dialogs(owner);
    std::unique_ptr<CFileDecryption> engine;
    {
        const CRaisedPriority raised;
        engine = std::make_unique<CFileDecryption>(dialogs, secret);
        // Only once the keys are made: a run that cannot start shows no progress.
        dialogs.ShowProgress(engine->ProgressTitle());
        WalkPaths(*engine, CRecoveryWalk(), paths);
    }
    FinishRun(*engine);
}

}  // namespace

void RunRecovery(HWND owner) {
    trace::CTraceScope scope("RunRecovery");
    CCommonDlg dialog(owner, LoadResString(IDS_CHOOSE_FILES), CurrentHelpDialogHook);
    dialog.AppendFilter(LoadResString(IDS_FILTER_ENCRYPTED), L"*.zte");
    dialog.AppendFilter(LoadResString(IDS_FILTER_ALL), L"*.*");
    if (ChooseWithHelp(dialog) == 1 && dialog.Count() > 0) DecryptSelection(owner, dialog);
}

void DecryptSelection(HWND owner, const CStringList& paths) {
    trace::CTraceScope scope("DecryptSelection");
    // Recovery does without the fingerprint and verification libraries: no store.
    CUserSecret secret(kPasswordDialog);
    const HRESULT loaded = secret.Load(owner, nullptr);
    if (loaded == S_FALSE) {
        ShowMessage(nullptr, IDS_PASSWORD_CANCELLED, kErrorMessageStyle);
        return;
    }
    // A secret from which no key can be made fails the same way as one that cannot be made.
    const HRESULT result =
        FAILED(loaded) ? loaded : Guarded(scope, [&] { Decrypt(owner, paths, secret.Bytes()); });
    if (FAILED(result)) ShowSecretFailure(result);
}
