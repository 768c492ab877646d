// The confirmation and report dialogs, answered by uidrive as a person would answer them.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "process_run.h"
#include "text/res_string.h"
#include "ui/confirm_dlg.h"
#include "ui/report_dlg.h"

namespace {

constexpr wchar_t kRiskyFile[] = L"C:\\Tools\\setup helper.exe";

TEST(ConfirmDialog, EachButtonGivesItsAnswer) {
    struct Case {
        int button;
        ConfirmAnswer answer;
    };
    const Case cases[] = {
        {IDOK, kAnswerYes},
        {IDCANCEL, kAnswerNo},
        {IDC_YES_TO_ALL, kAnswerYesToAll},
        {IDC_NO_TO_ALL, kAnswerNoToAll},
    };
    for (const Case& c : cases) {
        UiDriver driver(L"--controls 1006,1007,1008 --get 1008 --get 1009 --click " +
                        std::to_wstring(c.button) + L" --gone");
        CConfirmDlg dialog(kRiskyFile);
        EXPECT_EQ(dialog.Ask(nullptr), c.answer) << "button " << c.button;
        std::string output;
        EXPECT_EQ(driver.Finish(output), 0u) << output;
        EXPECT_NE(output.find("1008: Do you want to encrypt C:\\Tools\\setup helper.exe?"), std::string::npos)
            << output;
        EXPECT_NE(output.find("1009: Programs and Windows itself"), std::string::npos) << output;
    }
}

TEST(ConfirmDialog, ClosingTheWindowMeansNo) {
    UiDriver driver(L"--controls 1006,1007,1008 --click 2");
    CConfirmDlg dialog(kRiskyFile);
    EXPECT_EQ(dialog.Ask(nullptr), kAnswerNo);
    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
}

// What the report dialog showed: its title and text, read by the driver before closing it.
std::string ShowReport(const CReport& report, int operationKind) {
    UiDriver driver(L"--controls 1005 --get-title --get 1005 --click 2 --gone");
    CReportDlg dialog(report, operationKind);
    EXPECT_EQ(dialog.DoModal(nullptr), 1);
    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
    return output;
}

TEST(ReportDialog, TheTitleSaysWhetherTheRunEncryptedOrDecrypted) {
    CReport report;
    report.AddEntry(IDS_NOT_FOUND, L"a.txt", S_OK);
    EXPECT_NE(ShowReport(report, 1).find("title: Tapwise Crypto - Encryption Report"), std::string::npos);
    EXPECT_NE(ShowReport(report, 2).find("title: Tapwise Crypto - Decryption Report"), std::string::npos);
    EXPECT_NE(ShowReport(report, 4).find("title: Tapwise Crypto - Decryption Report"), std::string::npos);
}

TEST(ReportDialog, ShowsEveryParagraphInOrder) {
    CReport report;
    report.AddEntry(IDS_NOT_FOUND, L"first.txt", S_OK);
    report.AddEntry(IDS_CANNOT_OPEN, L"second.txt", E_ACCESSDENIED);
    report.Add(L"Files encrypted: 3");
    const std::string output = ShowReport(report, 1);
    const std::size_t first = output.find("Not found: first.txt");
    const std::size_t second = output.find("Could not open second.txt.");
    const std::size_t summary = output.find("Files encrypted: 3");
    ASSERT_NE(first, std::string::npos) << output;
    ASSERT_NE(second, std::string::npos) << output;
    ASSERT_NE(summary, std::string::npos) << output;
    EXPECT_LT(first, second);
    EXPECT_LT(second, summary);
}

TEST(Uidrive, AWindowThatNeverComesIsATimeoutWithAClearMessage) {
    UiDriver driver(L"--timeout 300 --title \"No such dialog\" --click 1");
    std::string output;
    EXPECT_EQ(driver.Finish(output), 1u);
    EXPECT_NE(output.find("timed out after 300 ms waiting for a window titled \"No such dialog\""),
              std::string::npos)
        << output;
}

}  // namespace
