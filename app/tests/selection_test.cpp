// The open-file dialog's wrapper: its filter and file buffers, and the real dialog answered
// through uidrive; and the texts a failed run shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "app/resources/resource_ids.h"
#include "app/traversal/file_list.h"
#include "process_run.h"
#include "test_support.h"
#include "text/integer_text.h"
#include "text/message_text.h"
#include "text/res_string.h"
#include "ui/common_dlg.h"
#include "ui/current_help.h"
#include "ui/selection_buffer.h"

namespace {

std::vector<std::wstring> Items(const CStringList& list) {
    std::vector<std::wstring> items;
    for (std::size_t i = 0; i < list.Count(); ++i) items.push_back(list.GetAt(i));
    return items;
}

std::vector<std::wstring> Paths(std::wstring_view buffer) {
    CStringList list;
    AppendSelection(std::span<const wchar_t>(buffer.data(), buffer.size()), list);
    return Items(list);
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

// The open-file dialog's file type box (cmb1).
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
    UiDriver driver(L"--title \"Choose for the test\" --set " + std::to_wstring(kOpenDialogFileName) +
                    L" \"" + path + L"\" --click 1 --gone");

    EXPECT_EQ(dialog.ChooseFiles(), 1);

    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
    EXPECT_EQ(Items(dialog), std::vector<std::wstring>{path});
}

TEST_F(ChooseFilesTest, CancelGivesTwoAndNoPaths) {
    CCommonDlg dialog(nullptr, L"Choose for the test");
    UiDriver driver(L"--title \"Choose for the test\" --click 2 --gone");

    EXPECT_EQ(dialog.ChooseFiles(), 2);

    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
    EXPECT_EQ(Items(dialog), std::vector<std::wstring>{});
}

// Far more files than the dialog's first buffer holds: 500 names of 25 characters.
class ChooseFilesBeyondTheBufferTest : public ChooseFilesTest {
protected:
    static constexpr wchar_t kTitle[] = L"Choose many for the test";

    ChooseFilesBeyondTheBufferTest() {
        for (int i = 0; i < 500; ++i) {
            wchar_t name[32];
            ::wsprintfW(name, L"many-chosen-file-%04d.txt", i);
            names_.push_back(name);
            WriteFileBytes(folder_.Path(name), PatternBytes(1));
        }
    }

    // The dialog, gone to the test's folder, then the actions given, all within a minute.
    std::wstring InTheFolder(const std::wstring& actions) const {
        return L"--timeout 60000 --title " + Quoted(kTitle) + GoToFolder(folder_.Path()) + actions +
               L" --gone";
    }

    std::vector<std::wstring> Expected() const {
        std::vector<std::wstring> paths;
        for (const std::wstring& name : names_) paths.push_back(folder_.Path(name));
        return paths;
    }

    std::vector<std::wstring> names_;
};

TEST_F(ChooseFilesBeyondTheBufferTest, FiveHundredNamesTypedIntoTheFileNameBoxAreAllTakenInTheirOrder) {
    CCommonDlg dialog(nullptr, kTitle);
    UiDriver driver(InTheFolder(L" --set " + std::to_wstring(kOpenDialogFileName) + L" " +
                                UiArgument(QuotedNames(names_)) + L" --click " + std::to_wstring(IDOK)));

    EXPECT_EQ(dialog.ChooseFiles(), 1);

    std::string output;
    EXPECT_EQ(driver.Finish(output, 90000), 0u) << output;
    EXPECT_EQ(Items(dialog), Expected());
}

// What the caller's hook is shown after the dialog's own hook: the room in the file buffer
// when the selection last changed.
DWORD roomAtSelection = 0;

UINT_PTR CALLBACK RecordRoomAtSelection(HWND, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_SELCHANGE)
        roomAtSelection = reinterpret_cast<const OFNOTIFYW*>(lParam)->lpOFN->nMaxFile;
    return 0;
}

// A double click may open the selection without the Open command that the dialog's hook
// watches for: the buffer holds the selection as soon as it is made.
TEST_F(ChooseFilesBeyondTheBufferTest, FiveHundredFilesSelectedInTheListFitTheBufferAtOnceAndAreAllTaken) {
    roomAtSelection = 0;
    CCommonDlg dialog(nullptr, kTitle, RecordRoomAtSelection);
    UiDriver driver(InTheFolder(L" --select-all --click " + std::to_wstring(IDOK)));

    EXPECT_EQ(dialog.ChooseFiles(), 1);

    std::string output;
    EXPECT_EQ(driver.Finish(output, 90000), 0u) << output;
    std::vector<std::wstring> chosen = Items(dialog);
    std::ranges::sort(chosen);
    EXPECT_EQ(chosen, Expected());
    // The folder, each name and the end of the list, each with its zero.
    std::size_t written = folder_.Path().size() + 1 + 1;
    for (const std::wstring& name : names_) written += name.size() + 1;
    EXPECT_GE(roomAtSelection, written);
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
