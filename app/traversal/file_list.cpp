#include "app/traversal/file_list.h"

#include <memory>

#include "app/authentication/library_secret.h"
#include "app/resources/resource_ids.h"
#include "app/traversal/interactive_run.h"
#include "app/traversal/untouchable_items.h"
#include "core/crypto/secure_bytes.h"
#include "core/text/text_format.h"
#include "engine/file_decryption_and_open.h"
#include "engine/file_encryption.h"
#include "engine/walk.h"
#include "text/integer_text.h"
#include "text/message_box.h"
#include "text/message_text.h"
#include "text/res_string.h"
#include "text/settings.h"
#include "trace/operation.h"
#include "ui/run_dialogs.h"
#include "win/raised_priority.h"
#include "win/wide_text.h"

namespace {

// What the verification libraries answer when the user dismissed them, and when the user
// has no secret to read.
constexpr HRESULT kVerificationAbandoned = HRESULT_FROM_WIN32(WAIT_TIMEOUT);
constexpr HRESULT kNoSuchUser = HRESULT_FROM_WIN32(ERROR_NO_SUCH_USER);

// The box for a failure the run cannot go on after; it has no owner, since the owner may be
// hidden while the program runs from the command line.
void ShowFailure(HRESULT status) {
    const std::wstring reason =
        ToWide(core::FormatText(AsU16(LoadResString(IDS_ERROR_REASON)), {AsU16(SystemErrorText(status))}));
    ShowMessageText(nullptr, reason, kErrorMessageStyle);
}

// False when there is no secret to run with; the user has been told why unless they gave up
// the verification themselves.
bool SecretAvailable(HRESULT loaded) {
    if (loaded == S_FALSE) {
        ShowMessage(nullptr, IDS_NOT_VERIFIED, kErrorMessageStyle);
    } else if (loaded == kNoSuchUser) {
        const std::wstring text = FormatInteger(LoadResString(IDS_NO_SECRET), static_cast<DWORD>(loaded));
        ShowMessageText(nullptr, text, kErrorMessageStyle);
    } else if (FAILED(loaded) && loaded != kVerificationAbandoned) {
        ShowFailure(loaded);
    }
    return SUCCEEDED(loaded) && loaded != S_FALSE;
}

std::unique_ptr<CEncryptionDecryption> CreateEngine(IRunObserver& observer, std::span<const BYTE> secret,
                                                    int kind) {
    if (kind & kOperationEncrypt)
        return std::make_unique<CFileEncryption>(observer, secret, ReadFileFormatSetting());
    if (kind & kOperationDecrypt) return std::make_unique<CFileDecryption>(observer, secret);
    if (kind & kOperationDecryptAndOpen) return std::make_unique<CFileDecryptAndOpen>(observer, secret);
    ThrowHr(E_INVALIDARG);
}

void Run(HWND owner, const CStringList& paths, int operationKind, std::span<const BYTE> secret) {
    CRunDialogs dialogs(owner);
    std::unique_ptr<CEncryptionDecryption> engine;
    {
        const CRaisedPriority raised;
        engine = CreateEngine(dialogs, secret, operationKind);
        // Only once the keys are made: a run that cannot start shows no progress.
        dialogs.ShowProgress(engine->ProgressTitle());
        WalkPaths(*engine, CUntouchableItems(operationKind), paths);
    }
    // A run from a selection dialog always ends with the report, so that the user learns that
    // the choice was processed even when nothing went wrong.
    FinishRun(*engine, CInteractiveRun::Active() ? IDS_SELECTION_DONE : 0);
}

}  // namespace

void ProcessFileList(HWND owner, const CStringList& paths, int operationKind) {
    trace::CTraceScope scope("ProcessFileList");
    const HRESULT result = Guarded(scope, [&] {
        CLibrarySecret user(operationKind);
        if (!SecretAvailable(user.Load(owner))) return;
        core::SecureBytes secret(user.Secret());
        Run(owner, paths, operationKind, secret.Bytes());
    });
    // Nothing was changed when the engine could not start, but the user must hear of it.
    if (FAILED(result)) ShowFailure(result);
}
