#pragma once
#include <unknwn.h>
#include <windows.h>

#include <atomic>

// The lock count of an in-process COM server: every live object (class factories included)
// and every LockServer lock. DllCanUnloadNow answers from it, so the library stays loaded
// while anything of it is in use.
LONG ModuleLockCount();

// One lock of the module for as long as the owner lives.
class CModuleLock {
public:
    CModuleLock();
    ~CModuleLock();
    CModuleLock(const CModuleLock&) = delete;
    CModuleLock& operator=(const CModuleLock&) = delete;
};

// Makes an object of one class: outer is the controlling unknown when the object is
// aggregated (the caller then asks for IUnknown), null otherwise.
using CreateInstanceFn = HRESULT (*)(IUnknown* outer, REFIID iid, void** object);

#pragma GCC diagnostic push
// COM objects end through Release, never through a pointer to an interface, so the
// interfaces' non-virtual destructors are as COM means them.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The class object of one class of the server.
class CClassFactory final : public IClassFactory {
public:
    // A new factory for the class, as the interface asked for.
    static HRESULT Create(CreateInstanceFn create, REFIID iid, void** object);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // An aggregating caller may ask only for IUnknown, as COM requires.
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    explicit CClassFactory(CreateInstanceFn create) : create_(create) {}
    ~CClassFactory() = default;

    std::atomic<ULONG> references_{1};
    CreateInstanceFn create_;
    CModuleLock moduleLock_;
};
#pragma GCC diagnostic pop
