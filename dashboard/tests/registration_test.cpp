// The plug-in's self-registration as an installer runs it: the status object's COM class, the
// dashboard's plug-in and help entries, and their removal.
#include <gtest/gtest.h>

#include <objbase.h>

#include "dashboard/file_protect_status_interface.h"
#include "dashboard_test.h"
#include "win/com_ptr.h"

namespace {

using ServerFn = HRESULT(STDAPICALLTYPE*)();

constexpr wchar_t kPlugIns[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\PlugIns";
constexpr wchar_t kPlugInValue[] = L"{C83F17A8-D5EE-4BE0-A22B-A8CA14C90745}:1";
constexpr wchar_t kHelp[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\Help";
constexpr wchar_t kHelpValue[] = L"{73914D63-F8A8-49A8-AE4E-A74775AD4970}";
constexpr wchar_t kClassKey[] = L"CLSID\\{EB28F6E5-D5C2-4012-8D12-4F58F3E53080}";
constexpr wchar_t kProgId[] = L"ZTFileProtect.ZTFileProtectStatus.1";
constexpr wchar_t kIndependentProgId[] = L"ZTFileProtect.ZTFileProtectStatus";
constexpr wchar_t kDescription[] = L"ZTFileProtectStatus Class";
constexpr wchar_t kClassId[] = L"{EB28F6E5-D5C2-4012-8D12-4F58F3E53080}";

DWORD ValueCount(HKEY root, const wchar_t* subKey) {
    RegKey key;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return 0;
    DWORD values = 0;
    ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr);
    return values;
}

std::wstring Under(const std::wstring& key, const wchar_t* subKey) {
    return key + L"\\" + subKey;
}

class PlugInRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications\\DashBoard");
    }
    HRESULT Register() const { return plugIn_.Entry<ServerFn>("DllRegisterServer")(); }
    HRESULT Unregister() const { return plugIn_.Entry<ServerFn>("DllUnregisterServer")(); }

    RegistrationBackup registration_;
    StoreSandbox store_;
    PlugIn plugIn_;
};

TEST_F(PlugInRegistrationTest, RegisteringTwiceLeavesOneEntryEachWithTheCurrentPath) {
    ASSERT_EQ(Register(), S_OK);
    ASSERT_EQ(Register(), S_OK);
    EXPECT_EQ(ValueCount(HKEY_LOCAL_MACHINE, kPlugIns), 1u);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kPlugIns, kPlugInValue), plugIn_.Path());
    EXPECT_EQ(ValueCount(HKEY_LOCAL_MACHINE, kHelp), 1u);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kHelp, kHelpValue), L"26:Introduction.htm");
}

TEST_F(PlugInRegistrationTest, TheClassIsRegisteredAsAnInProcessServerOfBothModels) {
    // Whatever an older registration left in the class key goes with it.
    SetRegistryString(HKEY_CLASSES_ROOT, Under(kClassKey, L"Stale"), nullptr, L"old");
    ASSERT_EQ(Register(), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, Under(kClassKey, L"Stale").c_str()));
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, kClassKey, nullptr), kDescription);
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, Under(kClassKey, L"ProgID").c_str(), nullptr), kProgId);
    EXPECT_EQ(
        ReadRegistryText(HKEY_CLASSES_ROOT, Under(kClassKey, L"VersionIndependentProgID").c_str(), nullptr),
        kIndependentProgId);
    const std::wstring server = Under(kClassKey, L"InprocServer32");
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, server.c_str(), nullptr), plugIn_.Path());
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, server.c_str(), L"ThreadingModel"), L"Both");
    for (const wchar_t* progId : {kProgId, kIndependentProgId}) {
        EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, progId, nullptr), kDescription);
        EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, Under(progId, L"CLSID").c_str(), nullptr), kClassId);
    }
}

TEST_F(PlugInRegistrationTest, TheRegisteredClassIsMadeThroughCom) {
    ASSERT_EQ(Register(), S_OK);
    store_.WriteStore(StoreBody(MissingItem(1)));
    ComPtr<IZTFileProtectStatus> status;
    ASSERT_EQ(::CoCreateInstance(CLSID_ZTFileProtectStatus, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IZTFileProtectStatus, status.put_void()),
              S_OK);
    VARIANT_BOOL flag = VARIANT_FALSE;
    EXPECT_EQ(status->HasDecryptedItems(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
}

TEST_F(PlugInRegistrationTest, UnregisteringRemovesTheEntriesButKeepsTheSharedKeys) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kPlugIns, L"{other plug-in}:1", L"C:\\other.dll");
    ASSERT_EQ(Register(), S_OK);
    ASSERT_EQ(Unregister(), S_OK);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kPlugIns, kPlugInValue), std::nullopt);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kPlugIns, L"{other plug-in}:1"), L"C:\\other.dll");
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kHelp));
    EXPECT_EQ(ValueCount(HKEY_LOCAL_MACHINE, kHelp), 0u);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kProgId));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kIndependentProgId));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
    EXPECT_EQ(Unregister(), S_OK) << "nothing left to remove";
}

}  // namespace
