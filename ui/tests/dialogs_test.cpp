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

TEST(Uidrive, AWindowThatNeverComesIsATimeoutWithAClearMessage) {
    UiDriver driver(L"--timeout 300 --title \"No such dialog\" --click 1");
    std::string output;
    EXPECT_EQ(driver.Finish(output), 1u);
    EXPECT_NE(output.find("timed out after 300 ms waiting for a window titled \"No such dialog\""),
              std::string::npos)
        << output;
}

}  // namespace
