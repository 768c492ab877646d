// The rules behind the dashboard page: its columns and sizes at each DPI, the reminder hours, icon locations,
// the info tip's date and time, where the folder picker starts, the removal question, which items may go on a
// command line, and which load answers a click on the refresh button.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dashboard/rules/date_time_text.h"
#include "dashboard/rules/icon_location.h"
#include "dashboard/rules/item_list_rules.h"
#include "dashboard/rules/nearest_folder.h"
#include "dashboard/rules/reminder_hours.h"

namespace core {
namespace {

TEST(ItemColumnsTest, NameTakesTwoFifthsAndLocationTheRestBesideTheScrollBar) {
    const ItemColumnWidths vista = ItemColumns(400, 17, 16, true, 96);
    EXPECT_EQ(vista.check, 30);
    EXPECT_EQ(vista.name, 160);
    EXPECT_EQ(vista.location, 400 - 30 - 160 - 17);
    const ItemColumnWidths older = ItemColumns(400, 17, 16, false, 96);
    EXPECT_EQ(older.check, 35);
    EXPECT_EQ(older.location, 400 - 35 - 160 - 17);
    // Rounded as MulDiv rounds: 161.2 down, 404.8 up.
    EXPECT_EQ(ItemColumns(403, 17, 16, true, 96).name, 161);
    EXPECT_EQ(ItemColumns(1012, 17, 16, true, 96).name, 405);
    // A list too narrow for all three leaves the location at nothing rather than below it.
    EXPECT_EQ(ItemColumns(40, 17, 16, true, 96).location, 0);
}

// What grows with the DPI: pixel sizes (rounded as MulDiv rounds), the check column, the row's
// height and where its name starts beside the picture drawn for that DPI.
TEST(ItemColumnsTest, SizesFollowTheDpi) {
    const struct {
        int dpi;
        int scaled7;
        int picture;
        int check;  // Vista's column for the state image the list has at that DPI
        int checkImage;
        int rowHeight;  // for a font of 13 * dpi / 96 pixels and a picture of the chosen size
        int nameOffset;
    } cases[] = {
        {96, 7, 16, 30, 16, 18, 18},
        {120, 9, 16, 38, 20, 19, 19},
        {144, 11, 24, 45, 24, 27, 27},
        {192, 14, 32, 60, 32, 36, 36},
        // A state image wider than the scaled column widens it.
        {144, 11, 24, 52, 40, 27, 27},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(Scaled(7, c.dpi), c.scaled7);
        EXPECT_EQ(ItemColumns(600, 17, c.checkImage, true, c.dpi).check, c.check);
        EXPECT_EQ(RowHeight(Scaled(13, c.dpi), c.picture, c.dpi), c.rowHeight);
        EXPECT_EQ(NameOffset(c.picture, c.dpi), c.nameOffset);
    }
    // The text sets the height when it is the taller.
    EXPECT_EQ(RowHeight(30, 16, 96), 32);
}

TEST(ItemColumnsTest, HeaderImageIsCentredInTheCheckColumn) {
    EXPECT_EQ(CentringMargin(30, 16), 7);
    EXPECT_EQ(CentringMargin(35, 16), 9);
    EXPECT_EQ(CentringMargin(10, 16), 0);
}

TEST(CheckBoxTest, AClickChecksAnyBoxButACheckedOne) {
    EXPECT_EQ(ToggledCheck(kUncheckedImage), kCheckedImage);
    EXPECT_EQ(ToggledCheck(kCheckedImage), kUncheckedImage);
    EXPECT_EQ(ToggledCheck(0), kCheckedImage);
    EXPECT_TRUE(AllRowsChecked(3, 3));
    EXPECT_FALSE(AllRowsChecked(2, 3));
    EXPECT_FALSE(AllRowsChecked(0, 0));
}

TEST(CheckBoxTest, RemovalAsksAboutWhatIsChecked) {
    EXPECT_EQ(QuestionBeforeRemoval(true, false), RemovalQuestion::kExisting);
    EXPECT_EQ(QuestionBeforeRemoval(false, true), RemovalQuestion::kMissing);
    EXPECT_EQ(QuestionBeforeRemoval(true, true), RemovalQuestion::kExistingAndMissing);
    EXPECT_EQ(QuestionBeforeRemoval(false, false), RemovalQuestion::kNone);
}

// The store is a file any program of the user may write: its names are not trusted.
TEST(CommandLinePathTest, OnlyNamesAFileCouldHaveInFoldersOfPlainPathsPass) {
    const struct {
        std::u16string_view folder;
        std::u16string_view name;
        bool passes;
    } cases[] = {
        {u"C:\\Users\\me\\My Documents", u"report 2024 (final) #2.txt", true},
        {u"\\\\server\\share\\folder", u"notes", true},
        {u"D:/work/old", u"\u00e9t\u00e9 & 100%.doc", true},
        {u"C:", u"...x", true},
        {u"z:\\D", u"a.txt", true},
        {u"C:\\D", u"a\x7f b", true},
        // A quotation mark would close the quoted path and add paths of its own.
        {u"C:\\D", u"x\" \"C:\\Users\\me\\Documents", false},
        {u"C:\\D\" \"C:\\Users", u"a.txt", false},
        // Separators and colons only where a path has them.
        {u"C:\\D", u"sub\\a.txt", false},
        {u"C:\\D", u"sub/a.txt", false},
        {u"C:\\D", u"a.txt:stream", false},
        {u"C:\\D:x", u"a.txt", false},
        {u"1:\\D", u"a.txt", false},
        {u":\\D", u"a.txt", false},
        // An empty name would leave "C:\D\" before the closing quotation mark.
        {u"C:\\D", u"", false},
        {u"C:\\D", u".", false},
        {u"C:\\D", u"..", false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(MayPassOnCommandLine(cases[i].folder, cases[i].name), cases[i].passes) << "case " << i;
    // Characters no file name can hold, in the name or the folder.
    for (const char16_t c : std::u16string_view(u"<>|?*\0\1\t\n\x1f", 10)) {
        EXPECT_FALSE(MayPassOnCommandLine(u"C:\\D", std::u16string(u"a") + c + u"b")) << static_cast<int>(c);
        EXPECT_FALSE(MayPassOnCommandLine(std::u16string(u"C:\\D") + c, u"a")) << static_cast<int>(c);
    }
}

TEST(RefreshRequestTest, ALoadAnswersTheRequestsCountedBeforeItBegan) {
    EXPECT_TRUE(LoadAnswers(5, 5));
    EXPECT_TRUE(LoadAnswers(6, 5));
    EXPECT_FALSE(LoadAnswers(4, 5));
    // The count wraps around.
    EXPECT_TRUE(LoadAnswers(2, 0xFFFFFFFEu));
    EXPECT_FALSE(LoadAnswers(0xFFFFFFFEu, 2));
}

TEST(ReminderHoursTest, ShownTypedAndSteppedHoursNeverLeaveOneToSix) {
    for (const auto& [seconds, hours] : std::vector<std::pair<std::uint32_t, std::int32_t>>{
             {10800, 3}, {1800, 1}, {0, 1}, {7199, 1}, {21600, 6}, {100000, 6}, {0xFFFFFFFFu, 6}})
        EXPECT_EQ(ShownHours(seconds), hours) << seconds;
    // Negative numbers compare as large unsigned ones.
    for (const auto& [typed, hours] : std::vector<std::pair<std::int32_t, std::int32_t>>{
             {9, 6}, {6, 6}, {4, 4}, {1, 1}, {0, 1}, {-1, 6}, {INT32_MIN, 6}})
        EXPECT_EQ(ClampTypedHours(typed), hours) << typed;
    // The up arrow steps by -1 and so adds an hour.
    const struct {
        std::int32_t shown, delta, hours;
    } steps[] = {{3, -1, 4},
                 {3, 1, 2},
                 {6, -1, 6},
                 {1, 1, 1},
                 {0, -100, 6},
                 {INT32_MIN, INT32_MAX, 1},
                 {INT32_MAX, INT32_MIN, 6}};
    for (const auto& [shown, delta, hours] : steps)
        EXPECT_EQ(SteppedHours(shown, delta), hours) << shown << " " << delta;
}

// The part after the last comma is an index only when it reads as a number other than 0 or
// is a zero written alone; quotation marks are dropped from the file.
TEST(IconLocationTest, AnIndexAfterTheLastCommaIsCutOffAndAnyOtherCommaBelongsToTheFile) {
    const struct {
        std::u16string_view text;
        IconLocation location;
    } cases[] = {
        {u"C:\\Windows\\notepad.exe", {u"C:\\Windows\\notepad.exe", 0}},
        {u"\"C:\\Program Files\\Office\\word.exe\",2", {u"C:\\Program Files\\Office\\word.exe", 2}},
        {u"shell32.dll,-154", {u"shell32.dll", -154}},
        {u"app.exe,0", {u"app.exe", 0}},
        {u"C:\\Tools, old\\app.exe", {u"C:\\Tools, old\\app.exe", 0}},
        {u"app.exe,00", {u"app.exe,00", 0}},
        {u"app.exe,", {u"app.exe,", 0}},
        {u"", {u"", 0}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ParseIconLocation(cases[i].text), cases[i].location) << "case " << i;
}

TEST(DateAndTimeTextTest, TheTimeFollowsTheDateUnlessItIsMidnight) {
    EXPECT_EQ(DateAndTimeText(u"Tuesday, 14 November 2023", u"22:13:20", false),
              u"Tuesday, 14 November 2023, 22:13:20");
    EXPECT_EQ(DateAndTimeText(u"Tuesday, 14 November 2023", u"00:00:00", true), u"Tuesday, 14 November 2023");
}

TEST(DateAndTimeTextTest, ALongDateLeavesNoRoomForTheTimeAndTheTipIsNeverTooLong) {
    const std::u16string longDate(246, u'd');
    EXPECT_EQ(DateAndTimeText(longDate, u"12:00", false), longDate);
    const std::u16string shorter(245, u'd');
    const std::u16string joined = DateAndTimeText(shorter, u"12:00:00 PM", false);
    EXPECT_EQ(joined.size(), kInfoTipUnits);
    EXPECT_EQ(joined.substr(0, 247), shorter + u", ");
    EXPECT_EQ(DateAndTimeText(std::u16string(400, u'd'), u"x", true).size(), kInfoTipUnits);
}

class NearestFolderTest : public ::testing::Test {
protected:
    std::u16string Nearest(std::u16string_view path) {
        asked_.clear();
        return NearestExistingFolder(path, [this](const std::u16string& folder) {
            asked_.push_back(folder);
            return folders_.count(folder) > 0;
        });
    }
    std::set<std::u16string> folders_{u"C:\\", u"C:\\Users", u"C:\\Users\\me"};
    std::vector<std::u16string> asked_;
};

TEST_F(NearestFolderTest, AMissingFolderIsCutBackToItsNearestExistingParent) {
    EXPECT_EQ(Nearest(u"C:\\Users\\me\\gone\\deeper"), u"C:\\Users\\me");
    EXPECT_EQ(asked_, (std::vector<std::u16string>{u"C:\\Users\\me\\gone\\deeper", u"C:\\Users\\me\\gone",
                                                   u"C:\\Users\\me"}));
    EXPECT_EQ(Nearest(u"C:\\Users\\me"), u"C:\\Users\\me");
    EXPECT_EQ(Nearest(u"C:\\nowhere"), u"C:\\");
}

TEST_F(NearestFolderTest, TrailingBlanksAndBackslashesAreDropped) {
    EXPECT_EQ(Nearest(u"C:\\Users\\me\\ \\\\"), u"C:\\Users\\me");
    EXPECT_EQ(Nearest(u"C:\\Users\\\\gone  "), u"C:\\Users");
    EXPECT_EQ(Nearest(u"C:\\\\"), u"C:\\");
}

TEST_F(NearestFolderTest, NothingWhenNoPartExists) {
    EXPECT_EQ(Nearest(u"Q:\\gone"), u"");
    EXPECT_EQ(Nearest(u"relative"), u"");
    EXPECT_EQ(Nearest(u" \\ "), u"");
    EXPECT_TRUE(asked_.empty());
}

}  // namespace
}  // namespace core
