#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/registration/shell_command.h"

namespace core {
namespace {

TEST(ShellCommandTest, TheProgramIsWhatStandsBeforeTheFilePlaceholder) {
    EXPECT_EQ(ProgramOfOpenCommand(u"C:\\Program Files\\Zentaro\\bin\\ZTFileEn.exe \"%1\""),
              u"C:\\Program Files\\Zentaro\\bin\\ZTFileEn.exe");
    EXPECT_EQ(ProgramOfOpenCommand(u"C:\\bin\\ZTFileEn.exe"), u"C:\\bin\\ZTFileEn.exe");
    EXPECT_EQ(ProgramOfOpenCommand(u"a \"%1\" b \"%1\""), u"a");
    // Only a space, a quotation mark, %1 and a quotation mark together make the placeholder.
    EXPECT_EQ(ProgramOfOpenCommand(u"a\"%1\""), u"a\"%1\"");
    EXPECT_EQ(ProgramOfOpenCommand(u"a %1"), u"a %1");
    EXPECT_EQ(ProgramOfOpenCommand(u" \"%1\""), u"");
}

TEST(ShellCommandTest, TheProgramIsQuotedOnceAndEveryPathFollowsTheSwitch) {
    const std::vector<std::u16string> paths{u"\"C:\\a b.txt\"", u"\"D:\\c.zte\""};
    EXPECT_EQ(SelectionCommandLine(u"C:\\Program Files\\x.exe", true, u" /e", paths),
              u"\"C:\\Program Files\\x.exe\" /e \"C:\\a b.txt\" \"D:\\c.zte\"");
    EXPECT_EQ(SelectionCommandLine(u"\"C:\\x y.exe\" /quiet", true, u" /d", paths),
              u"\"C:\\x y.exe\" /quiet /d \"C:\\a b.txt\" \"D:\\c.zte\"");
    EXPECT_EQ(SelectionCommandLine(u"x.exe /quiet", false, u" /d", {}), u"x.exe /quiet /d");
}

TEST(ShellCommandTest, ALineLongerThanTheLimitIsRefusedWhole) {
    const std::vector<std::u16string> paths{u"\"a\"", u"\"b\""};
    // x /e "a" "b" is 12 units, and 14 with the program quoted.
    EXPECT_EQ(SelectionCommandLine(u"x", false, u" /e", paths, 12), u"x /e \"a\" \"b\"");
    EXPECT_EQ(SelectionCommandLine(u"x", false, u" /e", paths, 11), std::nullopt);
    EXPECT_EQ(SelectionCommandLine(u"x", true, u" /e", paths, 14), u"\"x\" /e \"a\" \"b\"");
    EXPECT_EQ(SelectionCommandLine(u"x", true, u" /e", paths, 13), std::nullopt);
    EXPECT_EQ(SelectionCommandLine(u"xxxxx", false, u" /e", {}, 7), std::nullopt);
    const std::vector<std::u16string> many(10000, u"\"C:\\x\"");
    EXPECT_EQ(SelectionCommandLine(u"p", false, u" /e", many), std::nullopt);
}

}  // namespace
}  // namespace core
