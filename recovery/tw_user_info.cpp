#include "recovery/tw_user_info.h"

#include <algorithm>

#include "recovery/password_dlg.h"
#include "trace/operation.h"

HRESULT CTWUserInfo::LoadCurrentUserSecret(std::span<BYTE, kSecretSize> secret) {
    ZTTraceNS::CTraceScope scope("CTWUserInfo::LoadCurrentUserSecret");
    return Guarded(scope, [&]() -> HRESULT {
        CPasswordDlg dialog;
        if (dialog.Ask(::GetActiveWindow()) != S_OK) return S_FALSE;
        const std::span<const BYTE> digest = dialog.Secret().Bytes();
        if (digest.size() != secret.size()) ThrowHr(NTE_BAD_HASH);
        std::ranges::copy(digest, secret.begin());
        return S_OK;
    });
}
