// The command line's paths against real files; the grammar itself is the parser's, tested
// natively. Only paths that exist are taken, and one that does not drops the whole line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup/commands.h"
#include "core/command_line/command_line.h"
#include "test_support.h"

namespace {

using Strings = std::vector<std::wstring>;

Strings Items(const CStringList& list) {
    Strings items;
    for (std::size_t i = 0; i < list.Count(); ++i) items.push_back(list.GetAt(i));
    return items;
}

// The program's own name, quoted and with a space, comes first as when the shell starts it.
TEST(CommandsTest, ExistingFilesFoldersAndMatchingWildcardsAreTakenAsGivenAndAnythingElseDropsTheLine) {
    TempFolder folder;
    ASSERT_TRUE(::CreateDirectoryW(folder.Path(L"My Files").c_str(), nullptr));
    for (const wchar_t* name : {L"a.txt", L"b.txt"}) WriteFileBytes(folder.Path(name), {1});
    const auto quoted = [&](const wchar_t* name) { return Quoted(folder.Path(name)); };
    const struct {
        std::wstring arguments;
        Strings commands;
        Strings paths;
    } cases[] = {
        {quoted(L"b.txt") + L" /E " + quoted(L"a.txt") + L" /d",
         {L"E", L"d"},
         {folder.Path(L"b.txt"), folder.Path(L"a.txt")}},
        {L"/e " + quoted(L"My Files") + L" " + quoted(L"*.txt"),
         {L"e"},
         {folder.Path(L"My Files"), folder.Path(L"*.txt")}},
        {L"/RegServer   ", {L"RegServer"}, {}},
        // Dropped: both lists are emptied, also of what came before the refusal.
        {L"/e " + quoted(L"a.txt") + L" " + quoted(L"missing.txt"), {}, {}},
        {L"/e " + quoted(L"*.none"), {}, {}},
        {L"/e \"\"", {}, {}},
        {L"/e " + quoted(L"a.txt") + L" /" + std::wstring(core::kMaxCommandTokenUnits + 1, L'x'), {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        CCommands commands;
        EXPECT_EQ(commands.ParseCommandLine(L"\"C:\\Program Files\\ZTFileEn.exe\" " + c.arguments),
                  !c.commands.empty());
        EXPECT_EQ(Items(commands.Commands()), c.commands);
        EXPECT_EQ(Items(commands.Paths()), c.paths);
    }
}

}  // namespace
