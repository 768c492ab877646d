// Files chosen in the program's open-file dialog. The walk over folders itself is tested on
// the traversal library; here the dialog and the report of the real program.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "process_run.h"
#include "text/res_string.h"

namespace {

using SelectionDialogTest = EndToEndTest;

// Chosen in the dialog, the run reports even when nothing went wrong: the count and the end.
TEST_F(SelectionDialogTest, AFileChosenInTheDialogIsEncryptedAndTheReportSaysSoAndThatAllIsDone) {
    const std::wstring chosen = File(L"chosen.txt", PatternBytes(100));
    const ProcessRun run = RunProgram(L"/e");
    ChooseInOpenDialog(LoadResString(IDS_CHOOSE_ENCRYPT), chosen);
    ConfirmIdentity(IDS_VERIFY_ENCRYPT);

    const std::wstring report = ReadReport();
    std::wstring summary = LoadResString(IDS_SUMMARY_ENCRYPT);
    summary.replace(summary.find(L"%d"), 2, L"1");
    // Each a paragraph of its own.
    EXPECT_NE(report.find(summary + L"\r\n\r\n" + ReportEntry(IDS_SELECTION_DONE, L"")), std::wstring::npos)
        << report;
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_TRUE(IsEncrypted(chosen));
}

}  // namespace
