// Folders given to the program: what is encrypted, skipped and reported, what decryption
// brings back, and what the decrypted-items store then remembers.
#include <gtest/gtest.h>

#include "app/res_string.h"
#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "program_run.h"

namespace {

using FolderWalkTest = EndToEndTest;

TEST_F(FolderWalkTest, EncryptingReportsHiddenAndSystemFilesAndDecryptingBringsTheFolderBackSilently) {
    const std::wstring docs = Folder(L"docs");
    Folder(L"docs\\sub");
    const Bytes small = PatternBytes(1000, 1), large = PatternBytes(300000, 2), other = PatternBytes(50, 3);
    const std::wstring a = File(L"docs\\a.txt", small);
    const std::wstring b = File(L"docs\\sub\\b.bin", large);
    const std::wstring hidden = File(L"docs\\sub\\hidden.txt", other);
    const std::wstring desktop = File(L"docs\\desktop.ini", other);
    ASSERT_TRUE(::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW(desktop.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    {
        const ProgramRun run = ProgramRun::WithArguments(L"/e " + Quoted(docs));
        ConfirmIdentity(IDS_VERIFY_ENCRYPT);
        const std::wstring report = ReadReport();
        EXPECT_NE(report.find(ReportEntry(IDS_SKIPPED_HIDDEN, hidden)), std::wstring::npos) << report;
        EXPECT_NE(report.find(ReportEntry(IDS_SKIPPED_SYSTEM, desktop)), std::wstring::npos) << report;
        ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    }
    EXPECT_TRUE(IsEncrypted(a));
    EXPECT_TRUE(IsEncrypted(b));
    EXPECT_EQ(ReadFileBytes(hidden), other);
    EXPECT_EQ(ReadFileBytes(desktop), other);

    {
        const ProgramRun run = ProgramRun::WithArguments(L"/d " + Quoted(docs));
        ConfirmIdentity(IDS_VERIFY_DECRYPT);
        // Skipped hidden files are no news when decrypting: without a report the run just ends.
        ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    }
    EXPECT_EQ(ReadFileBytes(a), small);
    EXPECT_EQ(ReadFileBytes(b), large);
    EXPECT_FALSE(FileExists(a + L".zte"));
    EXPECT_FALSE(FileExists(b + L".zte"));
    EXPECT_EQ(ReadFileBytes(hidden), other);
    EXPECT_TRUE(StoreHolds("<item name=\"docs\" folder=\"1\">"));
}

TEST_F(FolderWalkTest, DecryptingAnEmptyFolderRecordsItAsAFolder) {
    const std::wstring empty = Folder(L"empty");
    const ProgramRun run = ProgramRun::WithArguments(L"/d " + Quoted(empty));
    ConfirmIdentity(IDS_VERIFY_DECRYPT);
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_TRUE(StoreHolds("<item name=\"empty\" folder=\"1\">"));
}

TEST_F(FolderWalkTest, APathThatVanishesBeforeTheWalkIsReportedAndTheOthersAreEncrypted) {
    const std::wstring a = File(L"a.txt", PatternBytes(10));
    const std::wstring gone = File(L"gone.txt", PatternBytes(20));
    const std::wstring c = File(L"c.txt", PatternBytes(30));
    const ProgramRun run =
        ProgramRun::WithArguments(L"/e " + Quoted(a) + L" " + Quoted(gone) + L" " + Quoted(c));
    // The paths were checked when the program started; the walk begins once the user is verified.
    AwaitVerification(IDS_VERIFY_ENCRYPT);
    ASSERT_TRUE(::DeleteFileW(gone.c_str()));
    ConfirmIdentity(IDS_VERIFY_ENCRYPT);

    const std::wstring report = ReadReport();
    EXPECT_NE(report.find(ReportEntry(IDS_NOT_FOUND, gone)), std::wstring::npos) << report;
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_TRUE(IsEncrypted(a));
    EXPECT_TRUE(IsEncrypted(c));
}

// Chosen in the dialog, the run reports even when nothing went wrong: the count and the end.
TEST_F(FolderWalkTest, AFileChosenInTheDialogIsEncryptedAndTheReportSaysSoAndThatAllIsDone) {
    const std::wstring chosen = File(L"chosen.txt", PatternBytes(100));
    const ProgramRun run = ProgramRun::WithArguments(L"/e");
    ChooseInOpenDialog(IDS_CHOOSE_ENCRYPT, chosen);
    ConfirmIdentity(IDS_VERIFY_ENCRYPT);

    const std::wstring report = ReadReport();
    std::wstring summary = LoadResString(IDS_SUMMARY_ENCRYPT);
    summary.replace(summary.find(L"%d"), 2, L"1");
    EXPECT_NE(report.find(summary), std::wstring::npos) << report;
    EXPECT_NE(report.find(ReportEntry(IDS_SELECTION_DONE, L"")), std::wstring::npos) << report;
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_TRUE(IsEncrypted(chosen));
}

}  // namespace
