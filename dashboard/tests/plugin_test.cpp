// The plug-in's entry points as the dashboard and COM call them in the real ZTFileProtect.dll:
// the page descriptor, the status object and the lock count. The COM kit's class table,
// interface tables and aggregation are win's own tests.
#include <gtest/gtest.h>

#include <cstring>

#include "dashboard/file_protect_status_interface.h"
#include "dashboard_test.h"
#include "win/com_ptr.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";

class PlugInTest : public ::testing::Test {
protected:
    HRESULT CanUnloadNow() const { return plugIn_.Call("DllCanUnloadNow"); }
    ComPtr<IClassFactory> Factory() const {
        using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
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

TEST_F(PlugInTest, OnlyPageZeroExistsAndAnotherLeavesTheDescriptorAlone) {
    auto* const untouched = reinterpret_cast<DashboardPageInfo*>(0x1234);
    for (UINT index : {1u, 2u, 0xFFFFFFFFu}) {
        DashboardPageInfo* info = untouched;
        EXPECT_EQ(plugIn_.GetPage(&info, index), static_cast<HRESULT>(0x80070490));
        EXPECT_EQ(info, untouched);
    }
    EXPECT_EQ(plugIn_.GetPage(nullptr, 0), E_POINTER);
    EXPECT_EQ(CanUnloadNow(), S_OK) << "a refused page leaves no page object behind";
}

// The dashboard reads the descriptor by the 32-bit plug-in's 44-byte layout and frees it
// and its title with LocalFree.
TEST_F(PlugInTest, DescriptorNamesThePageItsTitleAndIconInTheDashboardsLayout) {
    DashboardPageInfo* info = nullptr;
    ASSERT_EQ(plugIn_.GetPage(&info, 0), S_OK);
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
    if (sizeof(void*) == 4) {
        const auto word = [](const void* pointer) {
            return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pointer));
        };
        const DWORD expected[11] = {44, word(info->page),       5,  word(info->title), 0,
                                    0,  word(plugIn_.Module()), 102};
        DWORD words[11] = {};
        std::memcpy(words, info, sizeof words);
        for (int i = 0; i < 11; ++i) EXPECT_EQ(words[i], expected[i]) << "at byte " << 4 * i;
    }
    Release(info);
}

TEST_F(PlugInTest, ThePluginMayBeUnloadedOnlyWhileNothingOfItLives) {
    EXPECT_EQ(CanUnloadNow(), S_OK);
    DashboardPageInfo* info = nullptr;
    ASSERT_EQ(plugIn_.GetPage(&info, 0), S_OK);
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

TEST_F(PlugInTest, DecryptedItemsExistOnlyWhenTheStoreHoldsAnItem) {
    const auto hasItems = [&] {
        VARIANT_BOOL flag = 7;
        EXPECT_EQ(Status()->HasDecryptedItems(&flag), S_OK);
        return flag;
    };
    ::DeleteFileW(store_.StoreFile().c_str());
    EXPECT_EQ(hasItems(), VARIANT_FALSE) << "no store file";
    store_.WriteStore(StoreBody(""));
    EXPECT_EQ(hasItems(), VARIANT_FALSE) << "an empty list";
    store_.WriteStore("<ZTFileProtectionConfig><DecryptedItems><item");
    EXPECT_EQ(hasItems(), VARIANT_FALSE) << "a file that does not parse";
    store_.WriteStore(StoreBody(MissingItem(1)));
    EXPECT_EQ(hasItems(), VARIANT_TRUE);
    EXPECT_EQ(Status()->HasDecryptedItems(nullptr), E_INVALIDARG);
}

// The values are the ones the page writes (see PageOnDashboardTest).
TEST_F(PlugInTest, NotifyTimeoutIsTheStoredIntervalWhileRemindersAreOn) {
    const auto timeout = [&] {
        LONG seconds = -7;
        EXPECT_EQ(Status()->GetNotifyTimeout(&seconds), S_OK);
        return seconds;
    };
    DeleteRegistryTree(HKEY_CURRENT_USER, kSettingsKey);
    EXPECT_EQ(timeout(), 10800) << "no settings";
    SetRegistryDword(HKEY_CURRENT_USER, kSettingsKey, L"CryptNotifyTimeout", 100000);
    EXPECT_EQ(timeout(), 100000) << "not clamped";
    SetRegistryDword(HKEY_CURRENT_USER, kSettingsKey, L"EnableCryptNotify", 0);
    EXPECT_EQ(timeout(), 0) << "reminders off";
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, L"EnableCryptNotify", L"0");
    EXPECT_EQ(timeout(), 100000) << "a string switch counts as missing";
    SetRegistryDword(HKEY_CURRENT_USER, kSettingsKey, L"EnableCryptNotify", 2);
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, L"CryptNotifyTimeout", L"3600");
    EXPECT_EQ(timeout(), 10800) << "any switch but 0 is on; a string interval counts as missing";
    EXPECT_EQ(Status()->GetNotifyTimeout(nullptr), E_INVALIDARG);
}

}  // namespace
