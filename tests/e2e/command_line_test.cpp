// The program's command line as the shell, the dashboard and users write it: which runs
// encrypt, and which are dropped without touching anything.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "process_run.h"
#include "registry_backup.h"

namespace {

enum class Outcome { kEncrypted, kUntouched };

struct CommandLineCase {
    const wchar_t*
        arguments;     // {a} and {spaced} are the two files' paths, {missing} a path that is not there
    bool namesSpaced;  // the case is about the file in "My Files"
    Outcome outcome;
};

const CommandLineCase kCases[] = {
    {L"/e \"{a}\"", false, Outcome::kEncrypted},
    {L"/E \"{a}\"", false, Outcome::kEncrypted},
    {L"/e \"{a}\" /d", false, Outcome::kEncrypted},
    {L"\"{a}\" /e", false, Outcome::kEncrypted},
    {L"/e \"{spaced}\"", true, Outcome::kEncrypted},
    {L"/e {spaced}", true, Outcome::kUntouched},
    {L"/e \"{a}\" \"{missing}\"", false, Outcome::kUntouched},
    {L"/e\t\"{a}\"", false, Outcome::kUntouched},
    {L"/RegServer \"{a}\"", false, Outcome::kUntouched},
};

std::wstring Expand(std::wstring text, const std::wstring& placeholder, const std::wstring& path) {
    for (std::size_t at = text.find(placeholder); at != std::wstring::npos;
         at = text.find(placeholder, at + path.size()))
        text.replace(at, placeholder.size(), path);
    return text;
}

class CommandLineTest : public EndToEndTest {
protected:
    // A command that registers or unregisters where it should not would change these.
    RegistryBackup fileType_{HKEY_CLASSES_ROOT, L"Tapwise Crypto"};
    RegistryBackup extension_{HKEY_CLASSES_ROOT, L".zte"};
};

TEST_F(CommandLineTest, EncryptsWhatTheCommandLineNamesAndDropsALineWithAMissingPath) {
    DeleteRegistryTree(HKEY_CLASSES_ROOT, L"Tapwise Crypto");
    const Bytes content = PatternBytes(3000);
    int number = 0;
    for (const CommandLineCase& c : kCases) {
        SCOPED_TRACE(::testing::Message()
                     << "arguments " << ::testing::PrintToString(std::wstring(c.arguments)));
        const std::wstring folder = Folder(L"case" + std::to_wstring(++number));
        Folder(L"case" + std::to_wstring(number) + L"\\My Files");
        const std::wstring a = File(L"case" + std::to_wstring(number) + L"\\a.txt", content);
        const std::wstring spaced = File(L"case" + std::to_wstring(number) + L"\\My Files\\b.txt", content);
        std::wstring arguments = Expand(c.arguments, L"{a}", a);
        arguments = Expand(arguments, L"{spaced}", spaced);
        arguments = Expand(arguments, L"{missing}", folder + L"\\missing.txt");

        const ProcessRun run = RunProgram(arguments);
        if (c.outcome == Outcome::kEncrypted) ConfirmIdentity(IDS_VERIFY_ENCRYPT);

        // A run that must do nothing would wait for its verification, and not end.
        ASSERT_TRUE(run.EndsWithin(c.outcome == Outcome::kEncrypted ? kRunEndsMs : kIdleRunEndsMs));
        const std::wstring& named = c.namesSpaced ? spaced : a;
        const std::wstring& other = c.namesSpaced ? a : spaced;
        EXPECT_EQ(IsEncrypted(named), c.outcome == Outcome::kEncrypted);
        if (c.outcome == Outcome::kUntouched) {
            EXPECT_EQ(ReadFileBytes(named), content);
        }
        EXPECT_EQ(ReadFileBytes(other), content);
    }
    RegKey fileType;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Tapwise Crypto", 0, KEY_READ, fileType.put()),
              ERROR_SUCCESS)
        << "a register command with a path registered";
}

}  // namespace
