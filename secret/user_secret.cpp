#include "secret/user_secret.h"

#include "trace/operation.h"

HRESULT CUserSecret::Load(HWND owner, CSecretStore* store) {
    if (loaded_) return S_OK;
    trace::CTraceScope scope("CUserSecret::Load");
    const HRESULT hr = Guarded(scope, [&] {
        HRESULT read = store ? store->Read(owner, secret_) : HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        if (read == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) read = AskPassword(store);
        Check(read);
        loaded_ = !secret_.Empty();
        return read;
    });
    // Only a secret that was read, typed or stored in full is handed on.
    if (hr != S_OK) secret_.Free();
    return hr;
}

// No secret is stored: the password makes one, and a store keeps it for later runs.
HRESULT CUserSecret::AskPassword(CSecretStore* store) {
    CPasswordDialog dialog(dialog_);
    if (dialog.Ask(::GetActiveWindow()) != S_OK) return S_FALSE;
    secret_ = dialog.Secret();
    if (!store) return S_OK;
    const HRESULT written = store->Write(secret_);
    return FAILED(written) ? written : S_OK;
}
