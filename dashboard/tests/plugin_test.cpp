// The plug-in's entry points as the dashboard and COM call them in the real ZTFileProtect.dll:
// the page descriptor, the class object and the status object, and the lock count.
#include <gtest/gtest.h>

#include <cstring>

#include "dashboard/dashboard_page_info.h"
#include "dashboard/file_protect_status_interface.h"
#include "dashboard/notify_settings.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard_test.h"
#include "win/com_ptr.h"

namespace {

using GetPageFn = HRESULT(STDAPICALLTYPE*)(DashboardPageInfo**, UINT);
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";

class PlugInTest : public ::testing::Test {
protected:
    HRESULT GetPage(DashboardPageInfo** info, UINT index) const {
        return plugIn_.Entry<GetPageFn>("ZTGetPropertyPageEx")(info, index);
    }
    HRESULT CanUnloadNow() const { return plugIn_.Entry<CanUnloadFn>("DllCanUnloadNow")(); }
    ComPtr<IClassFactory> Factory() const {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(plugIn_.Entry<GetClassObjectFn>("DllGetClassObject")(CLSID_ZTFileProtectStatus,
                                                                       IID_IClassFactory, factory.put_void()),
                  S_OK);
        return factory;
    }
    ComPtr<IZTFileProtectStatus> Status() const {
        ComPtr<IZTFileProtectStatus> status;
        if (ComPtr<IClassFactory> factory = Factory()) {
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_IZTFileProtectStatus, status.put_void()), S_OK);
        }
        return status;
    }
    VARIANT_BOOL HasItems() const {
        VARIANT_BOOL flag = 7;
        EXPECT_EQ(Status()->HasDecryptedItems(&flag), S_OK);
        return flag;
    }
    LONG Timeout() const {
        LONG seconds = -7;
        EXPECT_EQ(Status()->GetNotifyTimeout(&seconds), S_OK);
        return seconds;
    }

    StoreSandbox store_;
    NotifySettingsBackup settings_;
    // The page title holds the product name, which a branding library could change.
    RegistryBackup branding_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Branding"};
    PlugIn plugIn_;
};

// Frees a descriptor as the dashboard does, destroying the page no sheet took.
void Release(DashboardPageInfo* info) {
    ::DestroyPropertySheetPage(info->page);
    ::LocalFree(info->title);
    ::LocalFree(info);
}

DWORD DwordAt(const DashboardPageInfo* info, std::size_t offset) {
    DWORD value = 0;
    std::memcpy(&value, reinterpret_cast<const std::uint8_t*>(info) + offset, sizeof value);
    return value;
}

TEST_F(PlugInTest, OnlyPageZeroExistsAndAnotherLeavesTheDescriptorAlone) {
    auto* const untouched = reinterpret_cast<DashboardPageInfo*>(0x1234);
    for (UINT index : {1u, 2u, 0xFFFFFFFFu}) {
        DashboardPageInfo* info = untouched;
        EXPECT_EQ(GetPage(&info, index), static_cast<HRESULT>(0x80070490));
        EXPECT_EQ(info, untouched);
    }
    EXPECT_EQ(GetPage(nullptr, 0), E_POINTER);
    EXPECT_EQ(CanUnloadNow(), S_OK) << "a refused page leaves no page object behind";
}

TEST_F(PlugInTest, DescriptorNamesThePageItsTitleAndIcon) {
    DashboardPageInfo* info = nullptr;
    ASSERT_EQ(GetPage(&info, 0), S_OK);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->size, sizeof(DashboardPageInfo));
    EXPECT_EQ(::LocalSize(info), sizeof(DashboardPageInfo));
    EXPECT_NE(info->page, nullptr);
    EXPECT_EQ(info->kind, 5u);
    ASSERT_NE(info->title, nullptr);
    EXPECT_STREQ(info->title, L"Tapwise Crypto");
    EXPECT_GE(::LocalSize(info->title), sizeof(L"Tapwise Crypto"));
    EXPECT_EQ(info->module, plugIn_.Module());
    EXPECT_EQ(info->iconId, 102u);
    EXPECT_NE(::LoadIconW(info->module, MAKEINTRESOURCEW(info->iconId)), nullptr);
    Release(info);
}

TEST_F(PlugInTest, DescriptorBytesFollowTheThirtyTwoBitLayout) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "the 44-byte layout is the 32-bit plug-in's";
    DashboardPageInfo* info = nullptr;
    ASSERT_EQ(GetPage(&info, 0), S_OK);
    EXPECT_EQ(DwordAt(info, 0), 44u);
    EXPECT_EQ(DwordAt(info, 4), reinterpret_cast<UINT_PTR>(info->page));
    EXPECT_EQ(DwordAt(info, 8), 5u);
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(static_cast<UINT_PTR>(DwordAt(info, 12))),
                 L"Tapwise Crypto");
    EXPECT_EQ(DwordAt(info, 24), reinterpret_cast<UINT_PTR>(plugIn_.Module()));
    EXPECT_EQ(DwordAt(info, 28), 102u);
    for (std::size_t offset : {16u, 20u, 32u, 36u, 40u}) EXPECT_EQ(DwordAt(info, offset), 0u) << offset;
    Release(info);
}

TEST_F(PlugInTest, ThePluginMayBeUnloadedOnlyWhileNothingOfItLives) {
    EXPECT_EQ(CanUnloadNow(), S_OK);
    DashboardPageInfo* info = nullptr;
    ASSERT_EQ(GetPage(&info, 0), S_OK);
    EXPECT_EQ(CanUnloadNow(), S_FALSE) << "a page";
    Release(info);
    EXPECT_EQ(CanUnloadNow(), S_OK);
    {
        ComPtr<IClassFactory> factory = Factory();
        EXPECT_EQ(CanUnloadNow(), S_FALSE) << "a class object";
        ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    }
    EXPECT_EQ(CanUnloadNow(), S_FALSE) << "a server lock";
    ASSERT_EQ(Factory()->LockServer(FALSE), S_OK);
    EXPECT_EQ(CanUnloadNow(), S_OK);
    {
        ComPtr<IZTFileProtectStatus> status = Status();
        EXPECT_EQ(CanUnloadNow(), S_FALSE) << "a status object";
    }
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST_F(PlugInTest, ClassObjectServesOnlyTheStatusClassAndItsInterfaces) {
    void* object = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(plugIn_.Entry<GetClassObjectFn>("DllGetClassObject")(IID_IUnknown, IID_IClassFactory, &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    ComPtr<IZTFileProtectStatus> status = Status();
    ASSERT_TRUE(status);
    ComPtr<IUnknown> unknown = status.As<IUnknown>(IID_IUnknown);
    EXPECT_TRUE(unknown);
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(status->QueryInterface(IID_IDispatch, dispatch.put_void()), E_NOINTERFACE);
    EXPECT_FALSE(dispatch);
}

#pragma GCC diagnostic push
// Ends on the stack, never through an interface pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// An outer object that aggregates the status object, counting its own references.
class Outer final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        ++queries;
        if (iid == IID_IZTFileProtectStatus && inner) return inner->QueryInterface(iid, object);
        *object = iid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }

    ULONG references = 1;
    int queries = 0;
    IUnknown* inner = nullptr;
};
#pragma GCC diagnostic pop

TEST_F(PlugInTest, AggregatedStatusObjectHandsItsIdentityToTheOuterObject) {
    ComPtr<IClassFactory> factory = Factory();
    Outer outer;
    void* object = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IZTFileProtectStatus, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);

    ComPtr<IUnknown> inner;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, inner.put_void()), S_OK);
    outer.inner = inner.get();
    ComPtr<IZTFileProtectStatus> status;
    ASSERT_EQ(outer.QueryInterface(IID_IZTFileProtectStatus, status.put_void()), S_OK);
    EXPECT_EQ(outer.references, 2u) << "the interface counts on the outer object";
    ComPtr<IUnknown> identity;
    const int queriesBefore = outer.queries;
    ASSERT_EQ(status->QueryInterface(IID_IUnknown, identity.put_void()), S_OK);
    EXPECT_EQ(identity.get(), static_cast<IUnknown*>(&outer));
    EXPECT_EQ(outer.queries, queriesBefore + 1);
    identity.reset();
    status.reset();
    EXPECT_EQ(outer.references, 1u);
    VARIANT_BOOL flag = 7;
    ComPtr<IZTFileProtectStatus> direct;
    ASSERT_EQ(inner->QueryInterface(IID_IZTFileProtectStatus, direct.put_void()), S_OK);
    EXPECT_EQ(direct->HasDecryptedItems(&flag), S_OK);
    direct.reset();
    outer.inner = nullptr;
    inner.reset();
    EXPECT_EQ(CanUnloadNow(), S_FALSE) << "the class object still lives";
    factory.reset();
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST_F(PlugInTest, DecryptedItemsExistOnlyWhenTheStoreHoldsAnItem) {
    ::DeleteFileW(store_.StoreFile().c_str());
    EXPECT_EQ(HasItems(), VARIANT_FALSE) << "no store file";
    store_.WriteStore(StoreBody(""));
    EXPECT_EQ(HasItems(), VARIANT_FALSE) << "an empty list";
    store_.WriteStore("<ZTFileProtectionConfig><DecryptedItems><item");
    EXPECT_EQ(HasItems(), VARIANT_FALSE) << "a file that does not parse";
    store_.WriteStore(StoreBody(MissingItem(1)));
    EXPECT_EQ(HasItems(), VARIANT_TRUE);
    EXPECT_EQ(Status()->HasDecryptedItems(nullptr), E_INVALIDARG);
}

TEST_F(PlugInTest, NotifyTimeoutIsTheStoredIntervalWhileRemindersAreOn) {
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    EXPECT_EQ(Timeout(), 10800) << "no settings";
    SetRegistryDword(HKEY_CURRENT_USER, kSettingsKey, L"CryptNotifyTimeout", 100000);
    EXPECT_EQ(Timeout(), 100000) << "not clamped";
    SetRegistryDword(HKEY_CURRENT_USER, kSettingsKey, L"EnableCryptNotify", 0);
    EXPECT_EQ(Timeout(), 0) << "reminders off";
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, L"EnableCryptNotify", L"0");
    EXPECT_EQ(Timeout(), 100000) << "a string switch counts as missing";
    SetRegistryDword(HKEY_CURRENT_USER, kSettingsKey, L"EnableCryptNotify", 2);
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, L"CryptNotifyTimeout", L"3600");
    EXPECT_EQ(Timeout(), 10800) << "any switch but 0 is on; a string interval counts as missing";
    EXPECT_EQ(Status()->GetNotifyTimeout(nullptr), E_INVALIDARG);
}

TEST_F(PlugInTest, SettingsThePageWritesAreTheOnesTheStatusObjectReads) {
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    WriteNotifySetting(kNotifyTimeoutValue, 7200);
    EXPECT_EQ(ReadNotifySetting(kNotifyTimeoutValue, 1), 7200u);
    EXPECT_EQ(Timeout(), 7200);
    WriteNotifySetting(kEnableNotifyValue, 0);
    EXPECT_EQ(ReadNotifySetting(kEnableNotifyValue, 1), 0u);
    EXPECT_EQ(Timeout(), 0);
}

}  // namespace
