#include "app/authentication/tw_user_info.h"

#include "app/authentication/password_dlg.h"
#include "app/authentication/user_and_secret_wr.h"
#include "app/resources/resource_ids.h"
#include "core/operation_kind.h"
#include "text/res_string.h"
#include "trace/operation.h"

HRESULT CTWUserInfo::LoadCurrentUserSecret(HWND owner) {
    if (loaded_) return S_OK;
    ZTTraceNS::CTraceScope scope("CTWUserInfo::LoadCurrentUserSecret");
    const HRESULT hr = Guarded(scope, [&] {
        const std::wstring prompt =
            LoadResString(operationKind_ == kOperationEncrypt ? IDS_VERIFY_ENCRYPT : IDS_VERIFY_DECRYPT);
        CZTUserAndSecretWr wrapper;
        HRESULT read = wrapper.ReadSecret(owner, prompt, secret_);
        if (read == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) read = CreateSecret(wrapper);
        Check(read);
        loaded_ = !secret_.Empty();
        return read;
    });
    // Only a secret that was read or stored in full is handed on.
    if (hr != S_OK) secret_.Free();
    return hr;
}

// No secret is stored yet for this user: a new password makes one, and it is stored for later runs.
HRESULT CTWUserInfo::CreateSecret(CZTUserAndSecretWr& wrapper) {
    CPasswordDlg dialog;
    if (dialog.Ask(::GetActiveWindow()) != S_OK) return S_FALSE;
    secret_ = dialog.Secret();
    const HRESULT written = wrapper.WriteSecret(secret_);
    return FAILED(written) ? written : S_OK;
}
