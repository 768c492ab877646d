#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_line/command_action.h"
#include "core/command_line/command_line.h"
#include "core/registration/shell_command.h"

namespace core {
namespace {

using Strings = std::vector<std::u16string>;

Strings Tokens(std::u16string_view line) {
    Strings tokens;
    std::size_t position = 0;
    while (const auto token = NextToken(line, position)) tokens.emplace_back(*token);
    return tokens;
}

struct TokenCase {
    std::u16string_view line;
    Strings tokens;
};

TEST(CommandTokenTest, SplitsOnSpacesAndQuotedRunsOnly) {
    const TokenCase cases[] = {
        {u"", {}},
        {u"a b  c   ", {u"a", u"b", u"c"}},
        {u"\"a b\"c", {u"a b", u"c"}},
        {u"\"\"", {u""}},
        {u"\"\" x", {u"", u"x"}},
        {u"a\tb", {u"a\tb"}},
        {u"a\"b c", {u"a\"b", u"c"}},
        {u"\"a\"\"\"  b", {u"a", u"b"}},
        {u"\"open end", {u"open end"}},
        {u"\"C:\\My Files\\a.txt\" /e", {u"C:\\My Files\\a.txt", u"/e"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tokens(c.line), c.tokens) << std::string(c.line.begin(), c.line.end());
}

// Paths that "exist" are a fixed set; every path offered is recorded, so a test sees where
// the walk stopped.
class FakeSink : public CommandLineSink {
public:
    void AddCommand(std::u16string_view word) override { commands.emplace_back(word); }
    bool AddPath(std::u16string_view path) override {
        offered.emplace_back(path);
        if (!existing.contains(std::u16string(path))) return false;
        paths.emplace_back(path);
        return true;
    }

    std::set<std::u16string> existing{u"a.txt", u"b.txt", u"C:\\My Files\\a.txt"};
    Strings commands, paths, offered;
};

struct ParseCase {
    std::u16string line;
    bool accepted;
    Strings commands;
    Strings offered;
};

TEST(CommandLineTest, TakesCommandsAndExistingPathsAndStopsAtTheFirstRefusal) {
    const std::u16string longWord(kMaxCommandTokenUnits + 1, u'x');
    const ParseCase cases[] = {
        {u"prog /E a.txt", true, {u"E"}, {u"a.txt"}},
        {u"prog a.txt /e /d", true, {u"e", u"d"}, {u"a.txt"}},
        {u"\"C:\\p q\\prog.exe\" /e \"C:\\My Files\\a.txt\"", true, {u"e"}, {u"C:\\My Files\\a.txt"}},
        {u"prog /e C:\\My Files\\a.txt", false, {u"e"}, {u"C:\\My"}},
        {u"prog a.txt missing b.txt", false, {}, {u"a.txt", u"missing"}},
        {u"prog a.txt\tb.txt", false, {}, {u"a.txt\tb.txt"}},
        {u"prog \"\"", false, {}, {u""}},
        {u"prog /", true, {u""}, {}},
        {u"prog   ", true, {}, {}},
        {u"prog /e " + longWord + u" a.txt", false, {u"e"}, {}},
        {u"prog a.txt /" + longWord, false, {}, {u"a.txt"}},
        {u"\"C:\\" + longWord + u"\\prog.exe\" /d b.txt", true, {u"d"}, {u"b.txt"}},
    };
    for (const auto& c : cases) {
        FakeSink sink;
        EXPECT_EQ(ParseCommandLine(c.line, sink), c.accepted) << c.line.size();
        EXPECT_EQ(sink.commands, c.commands) << c.line.size();
        EXPECT_EQ(sink.offered, c.offered) << c.line.size();
    }
}

TEST(CommandLineTest, TokenOfTheBufferSizeIsTheFirstToBeRefused) {
    FakeSink sink;
    EXPECT_TRUE(ParseCommandLine(u"prog /" + std::u16string(kMaxCommandTokenUnits - 1, u'w'), sink));
    EXPECT_FALSE(ParseCommandLine(u"prog /" + std::u16string(kMaxCommandTokenUnits, u'w'), sink));
    sink.existing.insert(std::u16string(kMaxCommandTokenUnits, u'p'));
    EXPECT_TRUE(ParseCommandLine(u"prog " + std::u16string(kMaxCommandTokenUnits, u'p'), sink));
    EXPECT_FALSE(ParseCommandLine(u"prog " + std::u16string(kMaxCommandTokenUnits + 1, u'p'), sink));
}

struct ActionCase {
    std::optional<std::u16string_view> command;
    bool hasPaths;
    CommandAction action;
};

TEST(CommandActionTest, FirstCommandAndPresenceOfPathsSelectTheAction) {
    const ActionCase cases[] = {
        {u"e", true, CommandAction::kEncryptPaths},
        {u"E", true, CommandAction::kEncryptPaths},
        {u"d", true, CommandAction::kDecryptPaths},
        {std::nullopt, true, CommandAction::kDecryptAndOpenPaths},
        {u"", true, CommandAction::kNothing},
        {u"RegServer", true, CommandAction::kNothing},
        {u"x", true, CommandAction::kNothing},
        {u"Regserver", false, CommandAction::kRegister},
        {u"UNREGSERVER", false, CommandAction::kUnregister},
        {u"e", false, CommandAction::kChooseAndEncrypt},
        {u"D", false, CommandAction::kChooseAndDecrypt},
        {std::nullopt, false, CommandAction::kNothing},
        {u"encrypt", false, CommandAction::kNothing},
        {u"RegServer2", false, CommandAction::kNothing},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SelectCommandAction(c.command, c.hasPaths), c.action)
            << std::string(c.command.value_or(u"(none)").begin(), c.command.value_or(u"(none)").end())
            << " paths " << c.hasPaths;
    }
}

TEST(CommandTailTest, IsEmptyWhenOnlyBlanksFollowTheProgramName) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"prog", u""},
        {u"prog   ", u""},
        {u"prog \t \r", u""},
        {u"\"C:\\My Files\\prog.exe\"  ", u""},
        {u"\"C:\\My Files\\prog.exe\" /e x", u"/e x"},
        {u"C:\\\"My Files\"\\prog.exe a", u"a"},
        {u"prog\t/RegServer", u"/RegServer"},
        {u"prog \"\"", u"\"\""},
    };
    for (const auto& [line, tail] : cases) EXPECT_EQ(CommandTail(line), tail);
}

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
