#include "dashboard/file_protect_status.h"

#include <new>

#include "dashboard/notify_settings.h"
#include "store/decrypted_items.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"

using ZTTraceNS::CTraceScope;

HRESULT CZTFileProtectStatus::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    auto* status = new (std::nothrow) CZTFileProtectStatus(outer);
    if (!status) return E_OUTOFMEMORY;
    const HRESULT hr = status->inner_.QueryInterface(iid, object);
    status->inner_.Release();
    return hr;
}

STDMETHODIMP CZTFileProtectStatus::QueryInterface(REFIID iid, void** object) {
    return controlling_->QueryInterface(iid, object);
}

STDMETHODIMP_(ULONG) CZTFileProtectStatus::AddRef() {
    return controlling_->AddRef();
}

STDMETHODIMP_(ULONG) CZTFileProtectStatus::Release() {
    return controlling_->Release();
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

STDMETHODIMP CZTFileProtectStatus::CInnerUnknown::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown) {
        *object = static_cast<IUnknown*>(this);
    } else if (iid == IID_IZTFileProtectStatus) {
        *object = static_cast<IZTFileProtectStatus*>(&owner_);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CZTFileProtectStatus::CInnerUnknown::AddRef() {
    return ++references_;
}

STDMETHODIMP_(ULONG) CZTFileProtectStatus::CInnerUnknown::Release() {
    const ULONG left = --references_;
    if (left == 0) delete &owner_;
    return left;
}
