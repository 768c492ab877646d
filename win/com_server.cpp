#include "win/com_server.h"

#include <algorithm>

namespace {

std::atomic<LONG> g_locks{0};

// The table's interface for the IID, AddRef'd through it; E_NOINTERFACE when the table has
// none. IUnknown itself is not in the tables: each caller knows which IUnknown is the
// object's own.
HRESULT FindInterface(void* owner, std::span<const ComInterface> interfaces, REFIID iid, void** object) {
    const auto found =
        std::ranges::find_if(interfaces, [&](const ComInterface& entry) { return *entry.iid == iid; });
    if (found == interfaces.end()) return E_NOINTERFACE;
    IUnknown* const answer = found->cast(owner);
    answer->AddRef();
    *object = answer;
    return S_OK;
}

}  // namespace

LONG ModuleLockCount() {
    return g_locks.load();
}

HRESULT CanUnloadModule() {
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

CModuleLock::CModuleLock() {
    ++g_locks;
}

CModuleLock::~CModuleLock() {
    --g_locks;
}

HRESULT GetClassObject(std::span<const ComClass> classes, REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    const auto found =
        std::ranges::find_if(classes, [&](const ComClass& entry) { return *entry.clsid == clsid; });
    if (found == classes.end()) return CLASS_E_CLASSNOTAVAILABLE;
    return CClassFactory::Create(found->create, iid, object);
}

STDMETHODIMP CInnerUnknown::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown) {
        AddRef();
        *object = static_cast<IUnknown*>(this);
        return S_OK;
    }
    return FindInterface(object_, interfaces_, iid, object);
}

STDMETHODIMP_(ULONG) CInnerUnknown::AddRef() {
    return ++references_;
}

STDMETHODIMP_(ULONG) CInnerUnknown::Release() {
    const ULONG left = --references_;
    if (left == 0) destroy_(object_);
    return left;
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
    static constexpr ComInterface kInterfaces[] = {
        Implements<CClassFactory, IUnknown>(IID_IUnknown),
        Implements<CClassFactory, IClassFactory>(IID_IClassFactory),
    };
    if (!object) return E_POINTER;
    *object = nullptr;
    return FindInterface(this, kInterfaces, iid, object);
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
