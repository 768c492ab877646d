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

// One is on whatever the day; any other value only before its date, of which only the local
// date counts (the caller works it out); 0 falls on 1970-01-01.
TEST(TraceSwitch, OneIsAlwaysOnAndAnyOtherValueOnlyBeforeItsDate) {
    constexpr std::uint32_t kMoment = 1798761600;
    EXPECT_TRUE(TraceSwitchOn(1, {1970, 1, 1}, kToday));
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

// The lines go right after the first header line that stands on its own, in any case; without
// one, a section is appended, after a line break where the last line lacks one.
TEST(WininitRename, LinesGoRightAfterTheRenameHeaderOrInANewSection) {
    const struct {
        std::string_view ini, before, after;  // the result is before, the lines, after
    } cases[] = {
        {"[other]\r\nx=1\r\n[rename]\r\nNUL=C:\\OLD.TMP\r\n", "[other]\r\nx=1\r\n[rename]\r\n",
         "NUL=C:\\OLD.TMP\r\n"},
        {"[Rename]\r\nNUL=C:\\OLD.TMP\r\n", "[Rename]\r\n", "NUL=C:\\OLD.TMP\r\n"},
        {"[RENAME]\r\nNUL=C:\\OLD.TMP\r\n", "[RENAME]\r\n", "NUL=C:\\OLD.TMP\r\n"},
        {"[x]\nNUL=C:\\[rename]\n  [Rename]  \r\n[rename]\r\n", "[x]\nNUL=C:\\[rename]\n  [Rename]  \r\n",
         "[rename]\r\n"},
        {"[x]\r\n[RENAME]", "[x]\r\n[RENAME]\r\n", ""},
        {"", "[rename]\r\n", ""},
        {"[ReName]\r\n", "[ReName]\r\n[rename]\r\n", ""},
        {"[boot]\r\nx=1", "[boot]\r\nx=1\r\n[rename]\r\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Applied(c.ini, kLines), std::string(c.before) + std::string(kLines) + std::string(c.after))
            << c.ini;
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
