#include "win/com_server.h"

#include <new>

namespace {
std::atomic<LONG> g_locks{0};
}

LONG ModuleLockCount() {
    return g_locks.load();
}

CModuleLock::CModuleLock() {
    ++g_locks;
}

CModuleLock::~CModuleLock() {
    --g_locks;
}

HRESULT CClassFactory::Create(CreateInstanceFn create, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    auto* factory = new (std::nothrow) CClassFactory(create);
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

STDMETHODIMP CClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef() {
    return ++references_;
}

STDMETHODIMP_(ULONG) CClassFactory::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    return create_(outer, iid, object);
}

STDMETHODIMP CClassFactory::LockServer(BOOL lock) {
    if (lock) {
        ++g_locks;
    } else {
        --g_locks;
    }
    return S_OK;
}
