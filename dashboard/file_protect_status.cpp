#include "dashboard/file_protect_status.h"

#include "dashboard/notify_settings.h"
#include "store/decrypted_items.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"

using trace::CTraceScope;

std::span<const ComInterface> CZTFileProtectStatus::Interfaces() {
    static constexpr ComInterface kInterfaces[] = {
        Implements<CZTFileProtectStatus, IZTFileProtectStatus>(IID_IZTFileProtectStatus),
    };
    return kInterfaces;
}

STDMETHODIMP CZTFileProtectStatus::HasDecryptedItems(VARIANT_BOOL* flag) {
    CTraceScope scope("CZTFileProtectStatus::HasDecryptedItems");
    if (!flag) return E_INVALIDARG;
    return Guarded(scope, [&] {
        DWORD count = 0;
        const bool exists = CDecryptedItems::GetStoreFileInfo(nullptr, &count);
        *flag = exists && count > 0 ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

STDMETHODIMP CZTFileProtectStatus::GetNotifyTimeout(LONG* seconds) {
    CTraceScope scope("CZTFileProtectStatus::GetNotifyTimeout");
    if (!seconds) return E_INVALIDARG;
    return Guarded(scope, [&] {
        const bool on = ReadNotifySetting(kEnableNotifyValue, kDefaultEnableNotify) != 0;
        *seconds = on ? static_cast<LONG>(ReadNotifySetting(kNotifyTimeoutValue, kDefaultNotifyTimeout)) : 0;
    });
}
