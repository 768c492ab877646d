// Registration of the encrypted-file type as an installer runs it, unregistration as an
// uninstaller runs it, and opening an encrypted file the way Explorer does through the
// registered command.
#include <gtest/gtest.h>

#include <optional>

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "process_run.h"
#include "registry_backup.h"
#include "text/res_string.h"
#include "win/registry.h"

namespace {

constexpr wchar_t kFileType[] = L"Tapwise Crypto";
constexpr wchar_t kOpenCommand[] = L"Tapwise Crypto\\shell\\open\\command";
constexpr wchar_t kShellExtensions[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Extensions";
constexpr wchar_t kApplicationKey[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";
constexpr wchar_t kZentaroKey[] = L"SOFTWARE\\Zentaro";
// A made-up file type whose open command is the marker program beside this test program.
constexpr wchar_t kMarkExtension[] = L".zte2emark";
constexpr wchar_t kMarkType[] = L"ZtE2E.MarkFile";

void RunToTheEnd(const std::wstring& arguments) {
    const ProcessRun run = RunProgram(arguments);
    ASSERT_TRUE(run.EndsWithin(kIdleRunEndsMs)) << "registration shows no window and ends";
}

// The exit code an installer sees.
DWORD ExitCodeOf(const std::wstring& arguments) {
    ProcessRun run = RunProgram(arguments);
    return run.Finish(kIdleRunEndsMs);
}

std::optional<std::wstring> MultiString(HKEY root, const wchar_t* subKey, const wchar_t* name) {
    wchar_t data[512] = {};
    DWORD size = sizeof(data);
    if (::RegGetValueW(root, subKey, name, RRF_RT_REG_MULTI_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data, size / sizeof(wchar_t));
}

Bytes Utf16Bytes(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return Bytes(bytes, bytes + text.size() * sizeof(wchar_t));
}

class RegistrationTest : public EndToEndTest {
protected:
    RegistryBackup fileType_{HKEY_CLASSES_ROOT, kFileType};
    RegistryBackup extension_{HKEY_CLASSES_ROOT, L".zte"};
    RegistryBackup shellExtensions_{HKEY_LOCAL_MACHINE, kShellExtensions};
    RegistryBackup application_{HKEY_LOCAL_MACHINE, kApplicationKey};
    // The installation folder is read in the 64-bit registry on 64-bit Windows.
    RegistryBackup installation_{HKEY_LOCAL_MACHINE, kZentaroKey, KEY_WOW64_64KEY};
    RegistryBackup markExtension_{HKEY_CLASSES_ROOT, kMarkExtension};
    RegistryBackup markType_{HKEY_CLASSES_ROOT, kMarkType};
};

TEST_F(RegistrationTest, RegisteringWritesTheFileTypeAndUnregisteringRemovesItAndLeavesTheCleanupLines) {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kApplicationKey);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kZentaroKey, KEY_WOW64_64KEY);
    {
        const RegKey zentaro = CreateRegistryKey(HKEY_LOCAL_MACHINE, kZentaroKey, KEY_WOW64_64KEY);
        const std::wstring folder = folder_.Path();
        ASSERT_EQ(::RegSetValueExW(zentaro.get(), L"ZentaroPath", 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(folder.c_str()),
                                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    // Windows has this key; registration only adds its value to it.
    CreateRegistryKey(HKEY_LOCAL_MACHINE, kShellExtensions);
    const std::wstring program = ProgramPath();

    ASSERT_EQ(ExitCodeOf(L"/RegServer"), 0u);

    const struct {
        HKEY root;
        const wchar_t* key;
        const wchar_t* value;
        std::wstring expected;
    } entries[] = {
        {HKEY_CLASSES_ROOT, kFileType, nullptr, L"Encrypted file"},
        {HKEY_CLASSES_ROOT, L"Tapwise Crypto\\DefaultIcon", nullptr, program + L",0"},
        {HKEY_CLASSES_ROOT, L"Tapwise Crypto\\shell\\open", nullptr, LoadResString(IDS_OPEN_VERB)},
        {HKEY_CLASSES_ROOT, L"Tapwise Crypto\\shell\\open", L"MuiVerb", L"@" + program + L",-37"},
        {HKEY_CLASSES_ROOT, kOpenCommand, nullptr, program + L" \"%1\""},
        {HKEY_CLASSES_ROOT, L".zte", nullptr, kFileType},
        {HKEY_LOCAL_MACHINE, kShellExtensions, L".zte", program + L" ^.zte"},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(::testing::Message() << entry.key << " " << (entry.value ? entry.value : L"(default)"));
        EXPECT_EQ(TryReadExpandedString(entry.root, entry.key, entry.value), entry.expected);
    }
    EXPECT_EQ(MultiString(HKEY_LOCAL_MACHINE, kApplicationKey, L"ExtensionFilter"),
              std::wstring(L".386\0.dll\0.drv\0.exe\0.lnk\0.pnf\0.sys\0.vxd\0\0", 41));

    RunToTheEnd(L"/UnregServer");

    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kFileType));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L".zte"));
    EXPECT_EQ(TryReadExpandedString(HKEY_LOCAL_MACHINE, kShellExtensions, L".zte"), std::nullopt);
    const std::wstring lines =
        L"\xFEFF"
        L"HKU\tSOFTWARE\\Zentaro\\Applications\\TWAppSettings\t5\tShowDecryptIcon\r\n"
        L"HKU\tSOFTWARE\\Zentaro\\Applications\\TWAppSettings\t5\tShowEncryptIcon\r\n"
        L"HKU\tSOFTWARE\\Zentaro\\Applications\\Settings\t5\tGeneral\r\n"
        L"HK\tSOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\t2\r\n";
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"Cleanup.txt")), Utf16Bytes(lines));
}

TEST_F(RegistrationTest, ARegistrationThatCannotWriteTheOpenCommandEndsWithTheRegistrysError) {
    MakeUnwritableBelow(HKEY_CLASSES_ROOT, kFileType, L"shell");

    EXPECT_EQ(ExitCodeOf(L"/RegServer"),
              static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE)));
    EXPECT_EQ(TryReadExpandedString(HKEY_CLASSES_ROOT, kOpenCommand, nullptr), std::nullopt);
}

TEST_F(RegistrationTest, OpeningAnEncryptedFileThroughItsOpenCommandDecryptsRecordsAndOpensIt) {
    RunToTheEnd(L"/RegServer");
    SetRegistryString(HKEY_CLASSES_ROOT, kMarkExtension, nullptr, kMarkType);
    SetRegistryString(HKEY_CLASSES_ROOT, std::wstring(kMarkType) + L"\\shell\\open\\command", nullptr,
                      Quoted(TestProgramFolder() + L"e2e_open_marker.exe") + L" \"%1\"");
    const Bytes content = PatternBytes(70000);
    const std::wstring plain = File(std::wstring(L"minutes") + kMarkExtension, content);
    Encrypt(plain);
    ASSERT_TRUE(IsEncrypted(plain));

    std::wstring command = TryReadExpandedString(HKEY_CLASSES_ROOT, kOpenCommand, nullptr).value_or(L"");
    const std::size_t placeholder = command.find(L"%1");
    ASSERT_NE(placeholder, std::wstring::npos) << command;
    command.replace(placeholder, 2, plain + L".zte");
    {
        const ProcessRun run(command);
        ConfirmIdentity(IDS_VERIFY_DECRYPT);
        ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    }

    EXPECT_EQ(ReadFileBytes(plain), content);
    EXPECT_FALSE(FileExists(plain + L".zte"));
    EXPECT_TRUE(StoreHolds("<item name=\"minutes.zte2emark\" folder=\"0\">"));
    // The shell starts the associated program without waiting for it.
    const std::wstring marker = plain + L".opened";
    for (int waited = 0; waited < 100 && !FileExists(marker); ++waited) ::Sleep(100);
    ASSERT_TRUE(FileExists(marker)) << "the associated program was not started";
    EXPECT_EQ(ReadFileBytes(marker), Utf16Bytes(plain));
}

}  // namespace
