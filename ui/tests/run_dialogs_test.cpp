// The end of a run as the user sees it: whether the report comes up, and in what order it
// tells what happened, the summary and the closing line.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "process_run.h"
#include "ui/run_dialogs.h"

namespace {

constexpr char16_t kSummary[] = u"Files encrypted: 2";

// The report's text as the dialog showed it; the driver closes the dialog.
std::string FinishShowingTheReport(CRunDialogs& run, UINT closingEntryId) {
    UiDriver driver(L"--controls 1005 --get-title --get 1005 --click 2 --gone");
    run.Finish(1, kSummary, closingEntryId);
    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
    return output;
}

TEST(RunDialogs, AQuietRunEndsWithoutAReportOrASummary) {
    CRunDialogs run(nullptr);
    run.ShowProgress(L"Encrypting");

    run.Finish(1, kSummary, 0);

    EXPECT_EQ(run.Report().Count(), 0u);
}

TEST(RunDialogs, TheReportTellsTheEntriesThenTheSummaryThenTheClosingLine) {
    CRunDialogs run(nullptr);
    run.ShowProgress(L"Encrypting");
    run.AddEntry(IDS_NOT_FOUND, L"first.txt", S_OK);

    const std::string output = FinishShowingTheReport(run, IDS_SELECTION_DONE);

    EXPECT_NE(output.find("title: Tapwise Crypto - Encryption Report"), std::string::npos) << output;
    const std::size_t entry = output.find("Not found: first.txt");
    const std::size_t summary = output.find("Files encrypted: 2");
    const std::size_t closing = output.find("All selected items have been processed.");
    ASSERT_NE(entry, std::string::npos) << output;
    ASSERT_NE(summary, std::string::npos) << output;
    ASSERT_NE(closing, std::string::npos) << output;
    EXPECT_LT(entry, summary);
    EXPECT_LT(summary, closing);
    EXPECT_EQ(run.Report().Count(), 3u);
}

TEST(RunDialogs, AClosingLineHasTheReportShownWhenNothingElseWasSaid) {
    CRunDialogs run(nullptr);

    const std::string output = FinishShowingTheReport(run, IDS_SELECTION_DONE);

    EXPECT_NE(output.find("Files encrypted: 2"), std::string::npos) << output;
    EXPECT_NE(output.find("All selected items have been processed."), std::string::npos) << output;
}

TEST(RunDialogs, WithoutItsProgressDialogARunIsNeverCancelled) {
    CRunDialogs run(nullptr);
    run.SetTotal(100);
    run.BeginFile(L"a.txt");
    run.Advance(50);
    run.SkipFile(L"b.txt");

    EXPECT_FALSE(run.IsCancelled());
}

}  // namespace
