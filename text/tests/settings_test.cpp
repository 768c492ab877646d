#include <gtest/gtest.h>

#include "core/registration/registry_keys.h"
#include "process_run.h"
#include "text/settings.h"

namespace {

constexpr wchar_t kStandInSettingsKey[] = L"SOFTWARE\\Zentaro\\Settings";

// Each test makes its own settings library, loaded from where BinDir points.
class SettingsTest : public ::testing::Test {
protected:
    void UseBinFolder(const std::wstring& folder) {
        SetRegistryString(HKEY_LOCAL_MACHINE, kApplicationsKey, L"BinDir", folder);
    }
    void UseStandIn() { UseBinFolder(FromBuildPath(ZTOSET_DIR)); }
    void SetSetting(const wchar_t* name, const std::wstring& text) {
        SetRegistryString(HKEY_CURRENT_USER, kStandInSettingsKey, name, text);
    }

    RegistryCleanup applications_{HKEY_LOCAL_MACHINE, kApplicationsKey};
    RegistryCleanup settings_{HKEY_CURRENT_USER, kStandInSettingsKey};
    CSettingsLibrary library_;
};

// A missing setting is the library's failure, and leaves the text as it was.
TEST_F(SettingsTest, ASettingsTextIsReadThroughTheLibrary) {
    UseStandIn();
    SetSetting(L"show_encrypt_icon", L"1 (shown)");
    std::wstring value;
    EXPECT_EQ(GetSetting(L"show_encrypt_icon", value, true, library_), S_OK);
    EXPECT_EQ(value, L"1 (shown)");
    EXPECT_EQ(GetSetting(L"no_such_setting", value, true, library_),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(value, L"1 (shown)");
}

TEST_F(SettingsTest, PositiveNumbersAreOnAndZeroIsNoAnswer) {
    UseStandIn();
    struct Case {
        const wchar_t* text;
        HRESULT result;
        bool flag;
    };
    const Case cases[] = {
        {L"0", E_INVALIDARG, false}, {L"2", S_OK, true},           {L"-1", S_OK, false},
        {L"1", S_OK, true},          {L"on", E_INVALIDARG, false}, {L"", E_INVALIDARG, false},
    };
    for (const Case& c : cases) {
        SetSetting(L"is_personalmode", c.text);
        bool flag = !c.flag;
        EXPECT_EQ(GetBoolSetting(L"is_personalmode", flag, false, library_), c.result) << c.text;
        EXPECT_EQ(flag, c.flag) << c.text;
        EXPECT_EQ(ReadPersonalMode(library_), c.flag) << c.text;
    }
}

// Without the library every setting fails and personal mode is off, unless the program has the
// library beside it.
TEST_F(SettingsTest, WithoutTheLibraryEverySettingFailsUnlessTheProgramHasItBesideIt) {
    TempFolder emptyBin;
    UseBinFolder(emptyBin.Path());
    SetSetting(L"is_personalmode", L"1");
    std::wstring value;
    EXPECT_EQ(GetSetting(L"is_personalmode", value, true, library_), E_NOTIMPL);
    EXPECT_FALSE(ReadPersonalMode(library_));

    const std::wstring beside = TestProgramFolder() + L"ZtoSet.dll";
    ASSERT_TRUE(::CopyFileW((FromBuildPath(ZTOSET_DIR) + L"\\ZtoSet.dll").c_str(), beside.c_str(), FALSE));
    library_ = CSettingsLibrary();
    const bool personal = ReadPersonalMode(library_);
    library_ = CSettingsLibrary();
    ::DeleteFileW(beside.c_str());
    EXPECT_TRUE(personal);
}

}  // namespace
