#pragma once
#include <unknwn.h>
#include <windows.h>

// The class object of one class, made once per process and kept by the module: while anyone
// holds it, the library stays loaded, as COM's cached class objects do.
// COM interfaces have no virtual destructor: an object is destroyed only by its own Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class CClassFactory final : public IClassFactory {
public:
    using CreateFn = HRESULT (*)(IUnknown* outer, REFIID iid, void** object);
    explicit CClassFactory(CreateFn create) : create_(create) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    CreateFn create_;
    volatile LONG refs_ = 0;
};
#pragma GCC diagnostic pop
