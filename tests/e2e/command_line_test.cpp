// The program's command line as the shell, the dashboard and users write it. Its grammar is
// checked on the parser; here that the program acts on a line it accepts and leaves everything
// alone on one it drops.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "process_run.h"

namespace {

using CommandLineTest = EndToEndTest;

// The first command counts, in any case, and a quoted path keeps its space; /d brings the
// file back.
TEST_F(CommandLineTest, EncryptsAndDecryptsWhatTheLineNamesAndDropsALineWithAMissingPath) {
    Folder(L"My Files");
    const Bytes content = PatternBytes(3000);
    const std::wstring spaced = File(L"My Files\\b.txt", content);
    const std::wstring kept = File(L"a.txt", content);
    {
        const ProcessRun run = RunProgram(L"/E " + Quoted(spaced) + L" /d");
        ConfirmIdentity(IDS_VERIFY_ENCRYPT);
        ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    }
    EXPECT_TRUE(IsEncrypted(spaced));
    {
        const ProcessRun run = RunProgram(L"/d " + Quoted(spaced + L".zte"));
        ConfirmIdentity(IDS_VERIFY_DECRYPT);
        ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    }
    EXPECT_EQ(ReadFileBytes(spaced), content);
    EXPECT_FALSE(FileExists(spaced + L".zte"));

    // A run that must do nothing would wait for its verification, and not end.
    ASSERT_TRUE(RunProgram(L"/e " + Quoted(kept) + L" " + Quoted(folder_.Path(L"missing.txt")))
                    .EndsWithin(kIdleRunEndsMs));
    EXPECT_EQ(ReadFileBytes(kept), content);
    EXPECT_FALSE(FileExists(kept + L".zte"));
}

}  // namespace
