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

// The exit code an installer sees.
DWORD ExitCodeOf(const std::wstring& arguments) {
    ProcessRun run = RunProgram(arguments);
    return run.Finish(kIdleRunEndsMs);
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

// The entries themselves are checked on the registration's own code; here that the installer
// sees the outcome, that the real program names itself in the open command the shell then
// runs, and that unregistering undoes it and leaves the clean-up list for the uninstaller.
TEST_F(RegistrationTest, OpeningAnEncryptedFileThroughTheRegisteredCommandDecryptsRecordsAndOpensIt) {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kZentaroKey, KEY_WOW64_64KEY);
    SetString(CreateRegistryKey(HKEY_LOCAL_MACHINE, kZentaroKey, KEY_WOW64_64KEY).get(), L"ZentaroPath",
              folder_.Path());
    // The installer sees a registration that failed in the exit code.
    MakeUnwritableBelow(HKEY_CLASSES_ROOT, kFileType, L"shell");
    EXPECT_EQ(ExitCodeOf(L"/RegServer"),
              static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE)));
    DeleteRegistryTree(HKEY_CLASSES_ROOT, kFileType);
    ASSERT_EQ(ExitCodeOf(L"/RegServer"), 0u);
    SetRegistryString(HKEY_CLASSES_ROOT, kMarkExtension, nullptr, kMarkType);
    SetRegistryString(HKEY_CLASSES_ROOT, std::wstring(kMarkType) + L"\\shell\\open\\command", nullptr,
                      Quoted(TestProgramFolder() + L"e2e_open_marker.exe") + L" \"%1\"");
    const Bytes content = PatternBytes(70000);
    const std::wstring plain = File(std::wstring(L"minutes") + kMarkExtension, content);
    Encrypt(plain);
    ASSERT_TRUE(IsEncrypted(plain));

    std::wstring command = TryReadExpandedString(HKEY_CLASSES_ROOT, kOpenCommand, nullptr).value_or(L"");
    ASSERT_EQ(command, ProgramPath() + L" \"%1\"");
    command.replace(command.find(L"%1"), 2, plain + L".zte");
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

    ASSERT_EQ(ExitCodeOf(L"/UnregServer"), 0u);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kFileType));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, L".zte"));
    EXPECT_TRUE(FileExists(folder_.Path(L"Cleanup.txt")));
}

}  // namespace
