// The plug-in's self-registration as an installer runs it: the dashboard's plug-in and help
// entries, the status object's class as its script writes it, and their removal. How a
// script is run is setup's own test; that COM makes the class from these entries, the
// dashboard stand-in's (DashboardHostTest).
#include <gtest/gtest.h>

#include "dashboard_test.h"

namespace {

constexpr wchar_t kPlugIns[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\PlugIns";
constexpr wchar_t kPlugInValue[] = L"{C83F17A8-D5EE-4BE0-A22B-A8CA14C90745}:1";
constexpr wchar_t kHelp[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\Help";
constexpr wchar_t kHelpValue[] = L"{73914D63-F8A8-49A8-AE4E-A74775AD4970}";
constexpr wchar_t kClassKey[] = L"CLSID\\{EB28F6E5-D5C2-4012-8D12-4F58F3E53080}";
constexpr wchar_t kProgId[] = L"ZTFileProtect.ZTFileProtectStatus.1";
constexpr wchar_t kIndependentProgId[] = L"ZTFileProtect.ZTFileProtectStatus";

DWORD ValueCount(const wchar_t* subKey) {
    RegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return 0;
    DWORD values = 0;
    ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr);
    return values;
}

class PlugInRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications\\DashBoard");
    }

    RegistrationBackup registration_;
    PlugIn plugIn_;
};

TEST_F(PlugInRegistrationTest, RegisteringTwiceLeavesOneEntryEachAndTheClassAsAnInProcessServer) {
    // Whatever an older registration left in the class key goes with it.
    SetRegistryString(HKEY_CLASSES_ROOT, std::wstring(kClassKey) + L"\\Stale", nullptr, L"old");
    ASSERT_EQ(plugIn_.Call("DllRegisterServer"), S_OK);
    ASSERT_EQ(plugIn_.Call("DllRegisterServer"), S_OK);
    EXPECT_EQ(ValueCount(kPlugIns), 1u);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kPlugIns, kPlugInValue), plugIn_.Path());
    EXPECT_EQ(ValueCount(kHelp), 1u);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kHelp, kHelpValue), L"26:Introduction.htm");

    const std::wstring description = L"ZTFileProtectStatus Class";
    const std::wstring classId = L"{EB28F6E5-D5C2-4012-8D12-4F58F3E53080}";
    const std::wstring key = kClassKey;
    const struct {
        std::wstring key;
        const wchar_t* name;
        std::wstring value;
    } values[] = {
        {key, nullptr, description},
        {key + L"\\ProgID", nullptr, kProgId},
        {key + L"\\VersionIndependentProgID", nullptr, kIndependentProgId},
        {key + L"\\InprocServer32", nullptr, plugIn_.Path()},
        {key + L"\\InprocServer32", L"ThreadingModel", L"Both"},
        {kProgId, nullptr, description},
        {std::wstring(kProgId) + L"\\CLSID", nullptr, classId},
        {kIndependentProgId, nullptr, description},
        {std::wstring(kIndependentProgId) + L"\\CLSID", nullptr, classId},
    };
    for (const auto& [subKey, name, value] : values)
        EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, subKey.c_str(), name), value) << subKey;
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, (key + L"\\Stale").c_str()));
}

TEST_F(PlugInRegistrationTest, UnregisteringRemovesTheEntriesButKeepsTheSharedKeys) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kPlugIns, L"{other plug-in}:1", L"C:\\other.dll");
    ASSERT_EQ(plugIn_.Call("DllRegisterServer"), S_OK);
    ASSERT_EQ(plugIn_.Call("DllUnregisterServer"), S_OK);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kPlugIns, kPlugInValue), std::nullopt);
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kPlugIns, L"{other plug-in}:1"), L"C:\\other.dll");
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kHelp));
    EXPECT_EQ(ValueCount(kHelp), 0u);
    for (const wchar_t* key : {kClassKey, kProgId, kIndependentProgId})
        EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
    EXPECT_EQ(plugIn_.Call("DllUnregisterServer"), S_OK) << "nothing left to remove";
}

}  // namespace
