// The COM server kit both plug-ins are made of, driven through the interfaces COM calls: the
// class table, the class factory, the interface table of an object, aggregation and the
// module's lock count.
#include <gtest/gtest.h>

#include <windows.h>
// oleidl.h needs windows.h first.
#include <oleidl.h>

#include "win/com_ptr.h"
#include "win/com_server.h"

namespace {

constexpr CLSID kWidgetClass = {0x6B1F0C52, 0x3E0A, 0x4C1D, {0x9A, 0x10, 0x52, 0x7E, 0x11, 0x2C, 0x44, 0x01}};
constexpr CLSID kOtherClass = {0x6B1F0C52, 0x3E0A, 0x4C1D, {0x9A, 0x10, 0x52, 0x7E, 0x11, 0x2C, 0x44, 0x02}};
const HWND kWidgetWindow = reinterpret_cast<HWND>(0x1234);

int g_liveWidgets = 0;

#pragma GCC diagnostic push
// COM objects end through Release, never through a pointer to an interface.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// An object of two interfaces, each answering with something the other could not, so that a
// table entry that hands out the wrong interface shows.
class CWidget : public IPersist, public IOleWindow {
public:
    STDMETHODIMP GetClassID(CLSID* clsid) override {
        *clsid = kWidgetClass;
        return S_OK;
    }
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = kWidgetWindow;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

protected:
    CWidget() { ++g_liveWidgets; }
    ~CWidget() { --g_liveWidgets; }
    static std::span<const ComInterface> Interfaces() {
        static constexpr ComInterface kInterfaces[] = {
            Implements<CWidget, IPersist>(IID_IPersist),
            Implements<CWidget, IOleWindow>(IID_IOleWindow),
        };
        return kInterfaces;
    }
};

// An outer object that counts the references its inner object passes on to it.
class CCountingOuter final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    ULONG references = 1;
};
#pragma GCC diagnostic pop

constexpr ComClass kClasses[] = {{&kWidgetClass, &CComObject<CWidget>::CreateInstance}};

class ComServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        locksBefore_ = ModuleLockCount();
        ASSERT_EQ(GetClassObject(kClasses, kWidgetClass, IID_IClassFactory, factory_.put_void()), S_OK);
    }
    void TearDown() override {
        factory_.reset();
        EXPECT_EQ(ModuleLockCount(), locksBefore_);
        EXPECT_EQ(g_liveWidgets, 0);
    }

    LONG locksBefore_ = 0;
    ComPtr<IClassFactory> factory_;
};

TEST_F(ComServerTest, TheClassTableKnowsOnlyItsClassesAndTheirFactoriesOnlyTheirInterfaces) {
    void* object = &object;
    EXPECT_EQ(GetClassObject(kClasses, kOtherClass, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(factory_->QueryInterface(IID_IUnknown, unknown.put_void()), S_OK);
    EXPECT_EQ(factory_->QueryInterface(IID_IPersist, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ComServerTest, AnObjectAnswersEachInterfaceOfItsTableAndNoOther) {
    ComPtr<IPersist> persist;
    ASSERT_EQ(factory_->CreateInstance(nullptr, IID_IPersist, persist.put_void()), S_OK);
    CLSID clsid{};
    ASSERT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, kWidgetClass);

    const ComPtr<IOleWindow> window = persist.As<IOleWindow>(IID_IOleWindow);
    HWND answer = nullptr;
    ASSERT_EQ(window->GetWindow(&answer), S_OK);
    EXPECT_EQ(answer, kWidgetWindow);

    // Every interface gives the one identity COM compares objects by.
    ComPtr<IUnknown> fromPersist;
    ComPtr<IUnknown> fromWindow;
    ASSERT_EQ(persist->QueryInterface(IID_IUnknown, fromPersist.put_void()), S_OK);
    ASSERT_EQ(window->QueryInterface(IID_IUnknown, fromWindow.put_void()), S_OK);
    EXPECT_EQ(fromPersist.get(), fromWindow.get());

    void* object = &object;
    EXPECT_EQ(persist->QueryInterface(IID_IClassFactory, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(persist->QueryInterface(IID_IPersist, nullptr), E_POINTER);
}

TEST_F(ComServerTest, TheObjectEndsWithItsLastReferenceAndAFailedCreationLeavesNone) {
    ComPtr<IPersist> persist;
    ASSERT_EQ(factory_->CreateInstance(nullptr, IID_IPersist, persist.put_void()), S_OK);
    ComPtr<IOleWindow> window = persist.As<IOleWindow>(IID_IOleWindow);
    persist.reset();
    EXPECT_EQ(g_liveWidgets, 1);
    window.reset();
    EXPECT_EQ(g_liveWidgets, 0);

    ComPtr<IClassFactory> refused;
    EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IClassFactory, refused.put_void()), E_NOINTERFACE);
    EXPECT_EQ(g_liveWidgets, 0);
}

TEST_F(ComServerTest, AnAggregatedObjectPassesItsInterfacesReferencesToTheOuterObject) {
    CCountingOuter outer;
    void* object = &object;
    EXPECT_EQ(factory_->CreateInstance(&outer, IID_IPersist, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);

    ComPtr<IUnknown> inner;
    ASSERT_EQ(factory_->CreateInstance(&outer, IID_IUnknown, inner.put_void()), S_OK);
    EXPECT_EQ(outer.references, 1u);
    IPersist* persist = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
    EXPECT_EQ(outer.references, 2u);
    // The outer object's identity is the aggregate's: the inner interfaces hand IUnknown
    // requests to it.
    void* fromInterface = &fromInterface;
    EXPECT_EQ(persist->QueryInterface(IID_IUnknown, &fromInterface), E_NOINTERFACE);
    persist->Release();
    EXPECT_EQ(outer.references, 1u);
    EXPECT_EQ(g_liveWidgets, 1);
    inner.reset();
    EXPECT_EQ(g_liveWidgets, 0);
}

TEST_F(ComServerTest, TheModuleStaysInUseWhileAnObjectFactoryOrServerLockIsLeft) {
    EXPECT_EQ(ModuleLockCount(), locksBefore_ + 1);
    ComPtr<IPersist> persist;
    ASSERT_EQ(factory_->CreateInstance(nullptr, IID_IPersist, persist.put_void()), S_OK);
    EXPECT_EQ(ModuleLockCount(), locksBefore_ + 2);
    ASSERT_EQ(factory_->LockServer(TRUE), S_OK);
    factory_.reset();
    persist.reset();
    EXPECT_EQ(ModuleLockCount(), locksBefore_ + 1);
    EXPECT_EQ(CanUnloadModule(), S_FALSE);
    ASSERT_EQ(GetClassObject(kClasses, kWidgetClass, IID_IClassFactory, factory_.put_void()), S_OK);
    ASSERT_EQ(factory_->LockServer(FALSE), S_OK);
    factory_.reset();
    EXPECT_EQ(ModuleLockCount(), locksBefore_);
    EXPECT_EQ(CanUnloadModule(), locksBefore_ == 0 ? S_OK : S_FALSE);
}

}  // namespace
