#pragma once
#include <unknwn.h>
#include <windows.h>

#include <atomic>
#include <new>
#include <span>

// The pieces every in-process COM server of the suite is made of: the module's lock count, a
// table of its classes with one class factory, and the IUnknown of an object that may be
// aggregated, answering QueryInterface from a table of the object's interfaces.

// The lock count of the server: every live object (class factories included) and every
// LockServer lock. DllCanUnloadNow answers from it, so the library stays loaded while
// anything of it is in use.
LONG ModuleLockCount();
// S_OK when nothing holds the module, S_FALSE otherwise: DllCanUnloadNow's answer.
HRESULT CanUnloadModule();

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

// One class of a server's class table.
struct ComClass {
    const CLSID* clsid;
    CreateInstanceFn create;
};

// DllGetClassObject over a server's class table: a new class factory of the class, as the
// interface asked for; CLASS_E_CLASSNOTAVAILABLE for a class the table does not hold.
HRESULT GetClassObject(std::span<const ComClass> classes, REFCLSID clsid, REFIID iid, void** object);

// One interface an object answers to: its IID and how the object is turned into it. The
// object comes as the pointer the object's IUnknown was made with.
struct ComInterface {
    const IID* iid;
    IUnknown* (*cast)(void* object);
};

// The entry of Interface, implemented by Object.
template <class Object, class Interface>
constexpr ComInterface Implements(const IID& iid) {
    return {&iid,
            [](void* object) -> IUnknown* { return static_cast<Interface*>(static_cast<Object*>(object)); }};
}

#pragma GCC diagnostic push
// COM objects end through Release, never through a pointer to an interface, so the
// interfaces' non-virtual destructors are as COM means them.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The object's own IUnknown: it counts the object's references, ends it at the last one and
// answers QueryInterface from the object's interface table. When the object is aggregated
// only the outer object holds it, and the object's interfaces pass their IUnknown calls to
// the outer object instead.
class CInnerUnknown final : public IUnknown {
public:
    CInnerUnknown(void* object, std::span<const ComInterface> interfaces, void (*destroy)(void*))
        : object_(object), interfaces_(interfaces), destroy_(destroy) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

private:
    void* object_;
    std::span<const ComInterface> interfaces_;
    void (*destroy_)(void*);
    std::atomic<ULONG> references_{1};
};

// An object of class Object as COM makes it: Object implements its interfaces and names them
// in a static Interfaces() table; this adds the IUnknown calls, aggregation and the module
// lock. Object's constructor takes no arguments and may be protected.
template <class Object>
class CComObject final : public Object {
public:
    // The class factory's creation function for Object.
    static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) {
        if (!object) return E_POINTER;
        *object = nullptr;
        auto* created = new (std::nothrow) CComObject(outer);
        if (!created) return E_OUTOFMEMORY;
        const HRESULT hr = created->inner_.QueryInterface(iid, object);
        created->inner_.Release();
        return hr;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        return controlling_->QueryInterface(iid, object);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return controlling_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return controlling_->Release(); }

private:
    explicit CComObject(IUnknown* outer)
        : inner_(static_cast<Object*>(this), Object::Interfaces(), &Destroy),
          controlling_(outer ? outer : &inner_) {}
    ~CComObject() = default;

    static void Destroy(void* object) { delete static_cast<CComObject*>(static_cast<Object*>(object)); }

    CInnerUnknown inner_;
    IUnknown* controlling_;
    CModuleLock moduleLock_;
};

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
