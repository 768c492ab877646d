#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/registration/server_registration.h"
#include "app/resources/resource_ids.h"
#include "app/startup/command_dispatch.h"
#include "core/registration/registry_keys.h"
#include "registry_backup.h"
#include "setup/cleanup_list.h"
#include "test_support.h"
#include "text/res_string.h"
#include "win/registry.h"
#include "win/unique_handle.h"
#include "win/windows_version.h"

namespace {

constexpr wchar_t kShellExtensions[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Extensions";
constexpr wchar_t kProgramWithSpaces[] = L"C:\\Program Files\\Zentaro Suite\\bin\\ZTFileEn.exe";

std::optional<Bytes> ReadValueBytes(HKEY root, const wchar_t* subKey, const wchar_t* name) {
    const RegKey key = TryOpenKey(root, subKey);
    Bytes data(1024);
    DWORD size = static_cast<DWORD>(data.size());
    if (!key || ::RegQueryValueExW(key.get(), name, nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return data;
}

Bytes Utf16Bytes(const std::wstring& text) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    return Bytes(first, first + text.size() * sizeof(wchar_t));
}

// The units as given, without a terminator of their own.
void SetValue(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD type, const std::wstring& data,
              REGSAM view = 0) {
    ASSERT_EQ(::RegSetValueExW(CreateRegistryKey(root, subKey, view).get(), name, 0, type,
                               reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// Everything registration touches is put back afterwards. The installation folder is
// recorded in the 64-bit view, where the installer writes it, and a decoy folder in the
// 32-bit view that a 32-bit program under WOW64 would see by default; on 32-bit Windows
// both writes land in the one key and the real folder, written last, wins.
class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetValue(HKEY_LOCAL_MACHINE, kZentaroKey, L"ZentaroPath", REG_SZ, decoy_.Path(), KEY_WOW64_32KEY);
        SetValue(HKEY_LOCAL_MACHINE, kZentaroKey, L"ZentaroPath", REG_SZ, folder_.Path(), KEY_WOW64_64KEY);
        // Windows has the shell's Extensions key; a fresh Wine prefix may not.
        CreateRegistryKey(HKEY_LOCAL_MACHINE, kShellExtensions);
    }

    std::wstring CleanupList() const { return folder_.Path(L"Cleanup.txt"); }

    RegistryValueBackup folder64_{HKEY_LOCAL_MACHINE, kZentaroKey, L"ZentaroPath", KEY_WOW64_64KEY};
    RegistryValueBackup folder32_{HKEY_LOCAL_MACHINE, kZentaroKey, L"ZentaroPath", KEY_WOW64_32KEY};
    RegistryValueBackup filter_{HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, kExtensionFilterValue};
    RegistryValueBackup shellExtension_{HKEY_LOCAL_MACHINE, kShellExtensions, L".zte"};
    RegistryBackup fileType_{HKEY_CLASSES_ROOT, L"Tapwise Crypto"};
    RegistryBackup extension_{HKEY_CLASSES_ROOT, L".zte"};
    TempFolder folder_;
    TempFolder decoy_;
};

TEST_F(RegistrationTest, RegisteringWritesTheFileTypeWithTheProgramPathUnquoted) {
    ASSERT_EQ(RegisterProgram(kProgramWithSpaces), S_OK);
    const std::wstring program = kProgramWithSpaces;
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, L"Tapwise Crypto", nullptr), L"Encrypted file");
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, L"Tapwise Crypto\\DefaultIcon", nullptr), program + L",0");
    const std::wstring verb = LoadResString(IDS_OPEN_VERB);
    EXPECT_FALSE(verb.empty());
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, L"Tapwise Crypto\\shell\\open", nullptr), verb);
    const auto muiVerb = ReadRegistryText(HKEY_CLASSES_ROOT, L"Tapwise Crypto\\shell\\open", L"MuiVerb");
    if (IsWindowsVistaOrLater()) {
        EXPECT_EQ(muiVerb, L"@" + program + L",-37");
    } else {
        EXPECT_EQ(muiVerb, std::nullopt);
    }
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, L"Tapwise Crypto\\shell\\open\\command", nullptr),
              program + L" \"%1\"");
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, L".zte", nullptr), L"Tapwise Crypto");
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kShellExtensions, L".zte"), program + L" ^.zte");
}

// Through the command line, as the installer runs it: the program names itself, and the
// registry's error is the run's result.
TEST_F(RegistrationTest, RegServerNamesTheRunningProgramOrFailsWithTheRegistrysError) {
    const trace::CTraceScope scope("RegistrationTest");
    wchar_t self[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    ASSERT_EQ(DispatchCommandLine(L"ZTFileEn.exe /regserver", scope), S_OK);
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, L"Tapwise Crypto\\shell\\open\\command", nullptr),
              std::wstring(self) + L" \"%1\"");

    MakeUnwritableBelow(HKEY_CLASSES_ROOT, L"Tapwise Crypto", L"shell");
    EXPECT_EQ(DispatchCommandLine(L"ZTFileEn.exe /RegServer", scope),
              HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE));
    EXPECT_EQ(ReadRegistryText(HKEY_CLASSES_ROOT, L"Tapwise Crypto\\shell\\open\\command", nullptr),
              std::nullopt);
}

TEST_F(RegistrationTest, MissingExtensionFilterGetsTheDefaultsInCodeUnitOrder) {
    DeleteValue(CreateRegistryKey(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey).get(), kExtensionFilterValue);
    ASSERT_EQ(RegisterProgram(kProgramWithSpaces), S_OK);
    EXPECT_EQ(ReadValueBytes(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, kExtensionFilterValue),
              Utf16Bytes(std::wstring(L".386\0.dll\0.drv\0.exe\0.lnk\0.pnf\0.sys\0.vxd\0\0", 41)));
}

TEST_F(RegistrationTest, ExistingExtensionFilterIsKeptEvenWhenEmpty) {
    for (const std::wstring& filter : {std::wstring(1, L'\0'), std::wstring(L".abc\0.zzz\0\0", 11)}) {
        SetValue(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, kExtensionFilterValue, REG_MULTI_SZ, filter);
        ASSERT_EQ(RegisterProgram(kProgramWithSpaces), S_OK);
        EXPECT_EQ(ReadValueBytes(HKEY_LOCAL_MACHINE, kTapwiseCryptoKey, kExtensionFilterValue),
                  Utf16Bytes(filter));
    }
}

TEST_F(RegistrationTest, UnregisteringRemovesTheFileTypeAndListsTheUsersSettingsForTheUninstaller) {
    ASSERT_EQ(RegisterProgram(kProgramWithSpaces), S_OK);
    SetValue(HKEY_CLASSES_ROOT, L"Tapwise Crypto\\shell\\open\\command\\deeper\\still", L"x", REG_SZ, L"y");
    ASSERT_EQ(UnregisterServer(), S_OK);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L"Tapwise Crypto"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L".zte"));
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kShellExtensions, L".zte"), std::nullopt);
    EXPECT_EQ(ReadFileBytes(CleanupList()),
              Utf16Bytes(L"\xFEFF"
                         L"HKU\tSOFTWARE\\Zentaro\\Applications\\TWAppSettings\t5\tShowDecryptIcon\r\n"
                         L"HKU\tSOFTWARE\\Zentaro\\Applications\\TWAppSettings\t5\tShowEncryptIcon\r\n"
                         L"HKU\tSOFTWARE\\Zentaro\\Applications\\Settings\t5\tGeneral\r\n"
                         L"HKU\tSOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\t5\tFileFormat\r\n"
                         L"HK\tSOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\t2\r\n"));
}

bool RunsUnderWow64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

// Only a 32-bit program on 64-bit Windows has a second view to read the folder from.
TEST_F(RegistrationTest, UnderWow64TheListGoesToTheFolderRecordedInThe64BitView) {
    if (!RunsUnderWow64()) GTEST_SKIP() << "not a 32-bit process on 64-bit Windows: there is no WOW64 view";
    ASSERT_EQ(AddCleanupLine(L"HK", L"Key", 2, nullptr), S_OK);
    EXPECT_TRUE(FileExists(CleanupList()));
    EXPECT_FALSE(FileExists(decoy_.Path(L"Cleanup.txt")));
}

TEST_F(RegistrationTest, CleanupLinesAreAppendedAfterTheExistingOnes) {
    WriteFileBytes(CleanupList(), Utf16Bytes(L"\xFEFFHK\tKept\r\n"));
    ASSERT_EQ(AddCleanupLine(L"HKU", L"Key", 0, L""), S_OK);
    EXPECT_EQ(ReadFileBytes(CleanupList()), Utf16Bytes(L"\xFEFFHK\tKept\r\nHKU\tKey\t0\t \r\n"));
}

TEST_F(RegistrationTest, ListWithoutByteOrderMarkIsStartedAfresh) {
    for (const Bytes& old :
         {Bytes{'H', 0, 'K', 0, '\r', 0, '\n', 0}, Bytes{0xFF}, Bytes{0xFE, 0xFF, 'A', 0}}) {
        WriteFileBytes(CleanupList(), old);
        ASSERT_EQ(AddCleanupLine(L"HK", L"Key", 2, nullptr), S_OK);
        EXPECT_EQ(ReadFileBytes(CleanupList()), Utf16Bytes(L"\xFEFFHK\tKey\t2\r\n"));
    }
}

TEST_F(RegistrationTest, CleanupLineWithoutHiveOrKeyIsInvalidAndWritesNothing) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {nullptr, L"Key"}, {L"", L"Key"}, {L"HKU", nullptr}, {L"HKU", L""}};
    for (const auto& [hive, key] : cases) EXPECT_EQ(AddCleanupLine(hive, key, 5, L"Name"), E_INVALIDARG);
    EXPECT_FALSE(FileExists(CleanupList()));
}

TEST_F(RegistrationTest, WithoutInstallationFolderNoListIsWrittenAnywhere) {
    DeleteValue(CreateRegistryKey(HKEY_LOCAL_MACHINE, kZentaroKey, KEY_WOW64_64KEY).get(), L"ZentaroPath");
    DeleteValue(CreateRegistryKey(HKEY_LOCAL_MACHINE, kZentaroKey, KEY_WOW64_32KEY).get(), L"ZentaroPath");
    wchar_t previous[MAX_PATH];
    ASSERT_GT(::GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryW(decoy_.Path().c_str()));
    const HRESULT hr = AddCleanupLine(L"HK", L"Key", 2, nullptr);
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(FileExists(decoy_.Path(L"Cleanup.txt")));
}

}  // namespace
