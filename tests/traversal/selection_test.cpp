// The open-file dialog's wrapper: its filter and file buffers, and the real dialog answered
// through uidrive; and the texts a failed run shows.
#include <gtest/gtest.h>

#include <string_view>

#include "app/resources/resource_ids.h"
#include "app/traversal/file_list.h"
#include "process_run.h"
#include "test_support.h"
#include "text/integer_text.h"
#include "text/res_string.h"
#include "text/system_error_text.h"
#include "ui/common_dlg.h"
#include "ui/current_help.h"
#include "ui/selection_buffer.h"

namespace {

std::vector<std::wstring> Paths(std::wstring_view buffer) {
    CStringList list;
    AppendSelection(std::span<const wchar_t>(buffer.data(), buffer.size()), list);
    std::vector<std::wstring> paths;
    for (std::size_t i = 0; i < list.Count(); ++i) paths.push_back(list.GetAt(i));
    return paths;
}

using namespace std::string_view_literals;

TEST(SelectionBufferTest, OneStringIsTheSingleChosenFile) {
    EXPECT_EQ(Paths(L"C:\\data\\a.txt\0\0"sv), std::vector<std::wstring>{L"C:\\data\\a.txt"});
}

TEST(SelectionBufferTest, FolderThenNamesGiveOnePathPerNameInTheDialogsOrder) {
    EXPECT_EQ(Paths(L"C:\\data\0b.txt\0a.txt\0\0"sv),
              (std::vector<std::wstring>{L"C:\\data\\b.txt", L"C:\\data\\a.txt"}));
    EXPECT_EQ(Paths(L"C:\\\0a.txt\0b.txt\0\0"sv), (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\b.txt"}));
}

TEST(SelectionBufferTest, NothingIsReadPastTheBuffer) {
    EXPECT_EQ(Paths(L""sv), std::vector<std::wstring>{});
    EXPECT_EQ(Paths(L"C:\\data\\a.t"sv), std::vector<std::wstring>{});
    EXPECT_EQ(Paths(L"C:\\data\0a.txt\0b.t"sv), std::vector<std::wstring>{L"C:\\data\\a.txt"});
}

TEST(CommonDlgTest, FiltersFollowEachOtherAndEndInAnExtraZero) {
    CCommonDlg dialog(nullptr, L"title");
    EXPECT_TRUE(dialog.AppendFilter(L"Encrypted", L"*.zte"));
    EXPECT_TRUE(dialog.AppendFilter(L"All", L"*.*"));

    constexpr std::wstring_view expected = L"Encrypted\0*.zte\0All\0*.*\0\0"sv;
    EXPECT_EQ(std::wstring_view(dialog.Filter().data(), expected.size()), expected);
}

TEST(CommonDlgTest, FilterThatDoesNotFitIsRefusedAndTheOthersStay) {
    CCommonDlg dialog(nullptr, L"title");
    ASSERT_TRUE(dialog.AppendFilter(L"All", L"*.*"));
    // 3 + 1 + 3 + 1 units are used; the new pair needs its pattern, two zeros and the final one.
    const std::wstring exact(CCommonDlg::kFilterUnits - 8 - 4, L'x');
    const std::wstring tooLong = exact + L"x";

    EXPECT_FALSE(dialog.AppendFilter(tooLong, L"*"));
    EXPECT_EQ(dialog.Filter()[8], L'\0');
    EXPECT_TRUE(dialog.AppendFilter(exact, L"*"));
    EXPECT_EQ(dialog.Filter()[CCommonDlg::kFilterUnits - 1], L'\0');
    EXPECT_EQ(dialog.Filter()[CCommonDlg::kFilterUnits - 2], L'\0');
    EXPECT_EQ(dialog.Filter()[CCommonDlg::kFilterUnits - 3], L'*');
}

// The file name box of the open-file dialog (cmb13).
constexpr int kFileNameField = 1148;
// Its file type box (cmb1).
constexpr int kFilterBox = 1136;

class ChooseFilesTest : public ::testing::Test {
protected:
    TempFolder folder_;
};

TEST_F(ChooseFilesTest, TypedFileNameIsTheChosenPath) {
    const std::wstring path = folder_.Path(L"chosen.txt");
    WriteFileBytes(path, PatternBytes(10));
    CCommonDlg dialog(nullptr, L"Choose for the test");
    dialog.AppendFilter(L"All", L"*.*");
    UiDriver driver(L"--title \"Choose for the test\" --set " + std::to_wstring(kFileNameField) + L" \"" +
                    path + L"\" --click 1 --gone");

    EXPECT_EQ(dialog.ChooseFiles(), 1);

    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
    ASSERT_EQ(dialog.Count(), 1u);
    EXPECT_EQ(dialog.GetAt(0), path);
}

TEST_F(ChooseFilesTest, CancelGivesTwoAndNoPaths) {
    CCommonDlg dialog(nullptr, L"Choose for the test");
    UiDriver driver(L"--title \"Choose for the test\" --click 2 --gone");

    EXPECT_EQ(dialog.ChooseFiles(), 2);

    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
    EXPECT_EQ(dialog.Count(), 0u);
}

// The filter box shows the first filter; Cancel ends the command without a run or a report.
TEST_F(ChooseFilesTest, DecryptionDialogOffersEncryptedFilesFirstAndSetsItsHelpTopic) {
    UiDriver driver(L"--title \"" + LoadResString(IDS_CHOOSE_DECRYPT) + L"\" --get " +
                    std::to_wstring(kFilterBox) + L" --click 2 --gone");

    ChooseAndDecrypt(nullptr);

    std::string output;
    ASSERT_EQ(driver.Finish(output), 0u) << output;
    const std::wstring filter = LoadResString(IDS_FILTER_ENCRYPTED);
    EXPECT_NE(output.find(std::to_string(kFilterBox) + ": " + std::string(filter.begin(), filter.end())),
              std::string::npos)
        << output;
    ASSERT_NE(CurrentHelp(), nullptr);
    EXPECT_EQ(CurrentHelp()->Topic(), L"/decrypting_files.htm");
    EXPECT_EQ(CurrentHelp()->ShortName(), L"ztcrypt.chm");
}

TEST(IntegerTextTest, OneIntegerConversionIsFilledAndAnythingElseIsLeftAsWritten) {
    const struct {
        const wchar_t* format;
        DWORD value;
        const wchar_t* expected;
    } cases[] = {
        {L"error 0x%08X.", 0x80070525, L"error 0x80070525."},
        {L"Unknown error 0x%0lX", 0xABC, L"Unknown error 0xABC"},
        {L"IDispatch error #%d", 5, L"IDispatch error #5"},
        {L"100%% sure: %u", 7, L"100% sure: 7"},
        {L"no conversion", 7, L"no conversion"},
        {L"a string %s", 7, L"a string %s"},
        {L"two %d %d", 7, L"two %d %d"},
        {L"dangling %", 7, L"dangling %"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatInteger(c.format, c.value), c.expected) << c.format;
}

TEST(SystemErrorTextTest, SystemTextHasNoFinalLineBreakAndUnknownCodesAreNamed) {
    const std::wstring known = SystemErrorText(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(known.empty());
    EXPECT_FALSE(known.ends_with(L"\n"));
    EXPECT_EQ(SystemErrorText(static_cast<HRESULT>(0x8004FFF0)), L"IDispatch error #65008");
    EXPECT_EQ(SystemErrorText(static_cast<HRESULT>(0xA0FFEE01)), L"Unknown error 0xA0FFEE01");
}

}  // namespace
