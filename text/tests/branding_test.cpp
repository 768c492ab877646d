#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "core/registration/registry_keys.h"
#include "process_run.h"
#include "test_string_ids.h"
#include "text/branding.h"
#include "text/res_string.h"

namespace {

constexpr wchar_t kOwnName[] = L"Tapwise Crypto";
constexpr wchar_t kBrandedName[] = L"Tapwise Crypto Business Edition";

class BrandingTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kBrandingKey); }
    void RegisterBrandingLibrary(const std::wstring& path) {
        SetRegistryString(HKEY_LOCAL_MACHINE, kBrandingKey, L"DLLPath", path);
    }

    RegistryCleanup cleanup_{HKEY_LOCAL_MACHINE, kBrandingKey};
    CBranding branding_;
};

// A text without the placeholder never loads the branding library; both placeholders of one
// that has it get the branded name.
TEST_F(BrandingTest, OnlyATextWithPlaceholdersLoadsTheBrandingLibraryAndGetsItsName) {
    RegisterBrandingLibrary(FromBuildPath(BRANDING_DLL));
    EXPECT_EQ(LoadResString(IDS_TEST_NO_PLACEHOLDER, branding_), L"Nothing to brand here: 100% plain.");
    EXPECT_FALSE(branding_.Loaded());
    EXPECT_EQ(
        LoadResString(IDS_TEST_TWO_PLACEHOLDERS, branding_),
        std::wstring(kBrandedName) + L" keeps your files safe. Thank you for using " + kBrandedName + L".");
    EXPECT_TRUE(branding_.Loaded());
}

TEST_F(BrandingTest, WithoutABrandingKeyTheProgramsOwnNameIsUsed) {
    EXPECT_EQ(LoadResString(IDS_MAIN_TITLE, branding_), kOwnName);
    EXPECT_EQ(branding_.LoadResourceDLL(), nullptr);
}

TEST_F(BrandingTest, ABrandingLibraryThatCannotBeLoadedLeavesTheOwnName) {
    TempFolder folder;
    RegisterBrandingLibrary(folder.Path(L"missing.dll"));
    EXPECT_EQ(LoadResString(IDS_MESSAGE_CAPTION, branding_), kOwnName);
    EXPECT_FALSE(branding_.Loaded());
}

TEST_F(BrandingTest, ALibraryPathInAnExpandableValueIsExpanded) {
    const std::wstring path = FromBuildPath(BRANDING_DLL);
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    ::SetEnvironmentVariableW(L"ZT_TEST_BRANDING", folder.c_str());
    const std::wstring value = L"%ZT_TEST_BRANDING%" + path.substr(folder.size());
    RegKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kBrandingKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.get(), L"DLLPath", 0, REG_EXPAND_SZ,
                               reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    EXPECT_EQ(branding_.ProductName(), kBrandedName);
}

TEST(ResString, ALongTextComesWholeFromItsBlockAndAnIdWithoutStringGivesAnEmptyText) {
    const std::wstring text = LoadResString(IDS_TEST_LONG);
    EXPECT_GT(text.size(), 260u);
    EXPECT_TRUE(text.ends_with(L"the word END"));
    EXPECT_EQ(LoadResString(3015), L"");
    EXPECT_EQ(LoadResString(59999), L"");
}

}  // namespace
