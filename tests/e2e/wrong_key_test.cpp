// Encrypted files the user's secret does not open: the run reports them and ends, whichever
// key the file's header selects.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "engine_test.h"
#include "process_run.h"

namespace {

using WrongKeyTest = EndToEndTest;

TEST_F(WrongKeyTest, AFolderWithAFileOfAnotherSecretIsReportedAndTheRunEnds) {
    for (const std::uint8_t type : {1, 2, 0}) {
        SCOPED_TRACE(testing::Message() << "encryption type " << int{type});
        const std::wstring folder = Folder(L"type" + std::to_wstring(type));
        const Bytes encrypted = PortableEncrypt(u"a.txt", PatternBytes(3000), type, kOtherSecret);
        const std::wstring file = File(L"type" + std::to_wstring(type) + L"\\a.txt.zte", encrypted);

        const ProcessRun run = RunProgram(L"/d " + Quoted(folder));
        ConfirmIdentity(IDS_VERIFY_DECRYPT);
        const std::wstring report = ReadReport();

        EXPECT_NE(report.find(ReportEntry(IDS_WRONG_KEY, file)), std::wstring::npos) << report;
        ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
        EXPECT_EQ(ReadFileBytes(file), encrypted);
    }
}

}  // namespace
