#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "process_run.h"
#include "text/message_text.h"
#include "text/res_string.h"
#include "ui/report.h"

namespace {

constexpr wchar_t kPath[] = L"C:\\Data\\Budget 2026.xlsx";

std::wstring SystemText(HRESULT status) {
    wchar_t text[512] = {};
    ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(status), 0, text, 512, nullptr);
    std::wstring result = text;
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) result.pop_back();
    return result;
}

bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

TEST(Report, ASuccessEntryIsTheTextWithTheNameAndAParagraphBreak) {
    CReport report;
    report.AddEntry(IDS_NOT_FOUND, kPath, S_OK);
    report.AddEntry(IDS_SKIPPED_HIDDEN, kPath, S_FALSE);
    ASSERT_EQ(report.Count(), 2u);
    EXPECT_EQ(report.GetAt(0), L"Not found: C:\\Data\\Budget 2026.xlsx\r\n\r\n");
    EXPECT_TRUE(report.GetAt(1).ends_with(std::wstring(kPath) + L"\r\n\r\n"));
    EXPECT_FALSE(Contains(report.GetAt(1), L"Reason"));
}

TEST(Report, AFailureEntryGivesTheReasonFromTheSystem) {
    CReport report;
    report.AddEntry(IDS_CANNOT_OPEN, kPath, E_ACCESSDENIED);
    const std::wstring reason = SystemText(E_ACCESSDENIED);
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(report.GetAt(0),
              L"Could not open " + std::wstring(kPath) + L".\r\nReason: " + reason + L"\r\n\r\n");
}

TEST(Report, ACodeWithoutAnyTextGivesTheStandInText) {
    const HRESULT unknown = static_cast<HRESULT>(0xA0F71234);
    ASSERT_TRUE(SystemText(unknown).empty());
    CReport report;
    report.AddEntry(IDS_CANNOT_WRITE, kPath, unknown);
    EXPECT_TRUE(Contains(report.GetAt(0), L"Reason: " + LoadResString(IDS_NO_ERROR_TEXT) + L"\r\n\r\n"));
}

// CryptoAPI's codes, which Wine does not describe, are given in the suite's own words; the
// system error text that message boxes show is the same.
TEST(Report, CryptographicCodesGetTheSuitesOwnText) {
    const struct {
        HRESULT status;
        const wchar_t* text;
    } cases[] = {
        {NTE_BAD_KEY, L"The key does not fit the data."},
        {NTE_BAD_DATA, L"The data is damaged or not in the form expected."},
        {NTE_BAD_LEN, L"The cryptographic service gave data of the wrong length."},
        {NTE_BAD_SIGNATURE, L"The cryptographic service's signature is not valid."},
    };
    for (const auto& c : cases) {
        CReport report;
        report.AddEntry(IDS_WRONG_KEY, kPath, c.status);
        EXPECT_TRUE(report.GetAt(0).ends_with(L"\r\nReason: " + std::wstring(c.text) + L"\r\n\r\n"))
            << report.GetAt(0);
        EXPECT_EQ(SystemErrorText(c.status), c.text);
    }
}

TEST(Report, AnOverlongParagraphIsCutButKeepsItsBreak) {
    const std::wstring deepPath = L"C:\\" + std::wstring(240, L'd') + L"\\file.txt";
    CReport report;
    report.AddEntry(IDS_CANNOT_OPEN, deepPath, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    report.AddEntry(IDS_NOT_FOUND, L"after.txt", S_OK);
    const std::wstring& paragraph = report.GetAt(0);
    EXPECT_EQ(paragraph.size(), CReport::kParagraphUnits);
    EXPECT_TRUE(paragraph.starts_with(L"Could not open C:\\ddd"));
    EXPECT_TRUE(paragraph.ends_with(L"\r\n\r\n"));
    EXPECT_EQ(report.GetAt(1), L"Not found: after.txt\r\n\r\n");
}

// The summary and the closing entry of a run are paragraphs of their own.
TEST(Report, AFinishedParagraphEndsWithItsBreakBeforeTheNextEntry) {
    CReport report;
    report.AddParagraph(u"Files encrypted: 1");
    report.AddEntry(IDS_SELECTION_DONE, L"", S_OK);
    std::wstring text;
    for (std::size_t i = 0; i < report.Count(); ++i) text += report.GetAt(i);
    EXPECT_EQ(text, L"Files encrypted: 1\r\n\r\n" + LoadResString(IDS_SELECTION_DONE) + L"\r\n\r\n");
}

}  // namespace
