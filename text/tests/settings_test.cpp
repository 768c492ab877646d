#include <gtest/gtest.h>

#include "core/registration/registry_keys.h"
#include "process_run.h"
#include "registry_backup.h"
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

// The machine's policy answers before the user's value; a number other than 1 and 2, or a
// value of another type, answers nothing and the next one is asked.
TEST(FileFormatSetting, ThePolicyBeforeTheUsersValueAndOnlyOneOrTwoAnswer) {
    const RegistryValueBackup policy(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, kFileFormatValue);
    const RegistryValueBackup user(HKEY_CURRENT_USER, kTapwiseCryptoKey, kFileFormatValue);
    constexpr DWORD kNone = ~DWORD{0}, kText = ~DWORD{0} - 1;
    const auto set = [](HKEY root, DWORD value) {
        const RegKey key = CreateRegistryKey(root, kTapwiseCryptoKey);
        ::RegDeleteValueW(key.get(), kFileFormatValue);
        if (value == kText) {
            ASSERT_EQ(::RegSetValueExW(key.get(), kFileFormatValue, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(L"2"), 2 * sizeof(wchar_t)),
                      ERROR_SUCCESS);
        } else if (value != kNone) {
            SetRegistryDword(root, kTapwiseCryptoKey, kFileFormatValue, value);
        }
    };
    using core::FileFormat;
    const struct {
        DWORD policy;
        DWORD user;
        FileFormat format;
    } cases[] = {{kNone, kNone, FileFormat::Zte}, {kNone, 2, FileFormat::Sealed},
                 {kNone, 1, FileFormat::Zte},     {1, 2, FileFormat::Zte},
                 {2, 1, FileFormat::Sealed},      {3, 2, FileFormat::Sealed},
                 {0, kNone, FileFormat::Zte},     {kText, 2, FileFormat::Sealed},
                 {kNone, kText, FileFormat::Zte}, {kNone, 0x10002, FileFormat::Zte}};
    for (const auto& c : cases) {
        set(HKEY_LOCAL_MACHINE, c.policy);
        set(HKEY_CURRENT_USER, c.user);
        EXPECT_EQ(ReadFileFormatSetting(), c.format) << c.policy << " " << c.user;
    }
}

}  // namespace
