#include "shellext/class_factory.h"

#include "shellext/com_module.h"

STDMETHODIMP CClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef() {
    g_module.Lock();
    return static_cast<ULONG>(::InterlockedIncrement(&refs_));
}

STDMETHODIMP_(ULONG) CClassFactory::Release() {
    // Never deleted: the object lives as long as the library.
    const LONG refs = ::InterlockedDecrement(&refs_);
    g_module.Unlock();
    return static_cast<ULONG>(refs);
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    // An aggregated object hands its outer object only its own, non-delegating IUnknown.
    if (outer && !::IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    return create_(outer, iid, object);
}

STDMETHODIMP CClassFactory::LockServer(BOOL lock) {
    if (lock) {
        g_module.Lock();
    } else {
        g_module.Unlock();
    }
    return S_OK;
}
