// The dashboard's trace cleanup: when its tracing switch has expired, and how the deletion
// lines get into WININIT.INI on systems that read that file at start-up.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/registration/wininit_rename.h"
#include "core/trace/trace_switch.h"

namespace core {
namespace {

constexpr CalendarDate kToday{2026, 12, 31};

TEST(TraceSwitch, OneIsOnWhateverTheDay) {
    EXPECT_TRUE(TraceSwitchOn(1, {1970, 1, 1}, kToday));
}

// Only the value's local date counts, which the caller works out; 0 falls on 1970-01-01.
TEST(TraceSwitch, AnyOtherValueIsOnOnlyBeforeItsDate) {
    constexpr std::uint32_t kMoment = 1798761600;
    EXPECT_FALSE(TraceSwitchOn(0, {1970, 1, 1}, kToday));
    EXPECT_FALSE(TraceSwitchOn(kMoment, {2026, 12, 30}, kToday));
    EXPECT_FALSE(TraceSwitchOn(kMoment, kToday, kToday));
    EXPECT_TRUE(TraceSwitchOn(kMoment, {2027, 1, 1}, kToday));
    EXPECT_FALSE(TraceSwitchOn(kMoment, {2026, 11, 30}, {2026, 12, 1}));
    EXPECT_TRUE(TraceSwitchOn(kMoment, {2026, 12, 1}, {2026, 11, 30}));
}

std::string Applied(std::string_view ini, std::string_view lines) {
    const TextInsertion insertion = RenameSectionInsertion(ini, lines);
    std::string buffer(ini);
    buffer.resize(ini.size() + insertion.text.size());
    InsertInPlace(buffer, ini.size(), insertion);
    return buffer;
}

constexpr std::string_view kLines = "NUL=C:\\TRACE~1\\A.TRC\r\nNUL=C:\\TRACE~1\\B.TRC\r\n";

TEST(WininitRename, LinesGoRightAfterAnExistingRenameHeader) {
    for (std::string_view header : {"[rename]", "[Rename]", "[RENAME]"}) {
        const std::string ini = "[other]\r\nx=1\r\n" + std::string(header) + "\r\nNUL=C:\\OLD.TMP\r\n";
        EXPECT_EQ(Applied(ini, kLines), "[other]\r\nx=1\r\n" + std::string(header) + "\r\n" +
                                            std::string(kLines) + "NUL=C:\\OLD.TMP\r\n");
    }
}

TEST(WininitRename, OnlyTheFirstHeaderLineOnItsOwnCounts) {
    const std::string ini = "[x]\nNUL=C:\\[rename]\n  [Rename]  \r\n[rename]\r\n";
    EXPECT_EQ(Applied(ini, kLines),
              "[x]\nNUL=C:\\[rename]\n  [Rename]  \r\n" + std::string(kLines) + "[rename]\r\n");
}

TEST(WininitRename, WithoutASectionOneIsAppended) {
    EXPECT_EQ(Applied("", kLines), "[rename]\r\n" + std::string(kLines));
    EXPECT_EQ(Applied("[ReName]\r\n", kLines), "[ReName]\r\n[rename]\r\n" + std::string(kLines));
    EXPECT_EQ(Applied("[boot]\r\nx=1", kLines), "[boot]\r\nx=1\r\n[rename]\r\n" + std::string(kLines));
}

TEST(WininitRename, AHeaderOnTheLastLineGetsItsLineBreak) {
    EXPECT_EQ(Applied("[x]\r\n[RENAME]", kLines), "[x]\r\n[RENAME]\r\n" + std::string(kLines));
}

TEST(WininitRename, InsertionMustFitTheBuffer) {
    const TextInsertion insertion = RenameSectionInsertion("", kLines);
    std::string tooShort(insertion.text.size() - 1, '\0');
    EXPECT_THROW(InsertInPlace(tooShort, 0, insertion), std::invalid_argument);
    std::string exact(insertion.text.size(), '\0');
    EXPECT_THROW(InsertInPlace(exact, 1, insertion), std::invalid_argument);
}

TEST(WininitRename, ALineNamesTheFileAfterNul) {
    EXPECT_EQ(NulRenameLine("C:\\PROGRA~1\\X.TRC"), "NUL=C:\\PROGRA~1\\X.TRC\r\n");
}

}  // namespace
}  // namespace core
