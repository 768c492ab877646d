#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup/commands.h"
#include "test_support.h"

namespace {

using Strings = std::vector<std::wstring>;

Strings Items(const CStringList& list) {
    Strings items;
    for (std::size_t i = 0; i < list.Count(); ++i) items.push_back(list.GetAt(i));
    return items;
}

// Real files in a folder whose name the line spells out; the program's own name, quoted and
// with a space, comes first as it does when the shell starts the program.
class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CreateDirectoryW(folder_.Path(L"My Files").c_str(), nullptr));
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"My Files\\c.txt"}) WriteFileBytes(Path(name), {1});
    }

    std::wstring Path(const std::wstring& name) const { return folder_.Path(name); }
    std::wstring Quoted(const std::wstring& name) const { return L"\"" + Path(name) + L"\""; }

    bool Parse(const std::wstring& arguments) {
        return commands_.ParseCommandLine(L"\"C:\\Program Files\\ZTFileEn.exe\" " + arguments);
    }

    void ExpectDropped() const {
        EXPECT_EQ(commands_.Commands().Count(), 0u);
        EXPECT_EQ(commands_.Paths().Count(), 0u);
    }

    TempFolder folder_;
    CCommands commands_;
};

TEST_F(CommandsTest, CommandsKeepTheirCaseAndPathsTheirOrder) {
    ASSERT_TRUE(Parse(Quoted(L"b.txt") + L" /E " + Quoted(L"a.txt") + L" /d"));
    EXPECT_EQ(Items(commands_.Commands()), (Strings{L"E", L"d"}));
    EXPECT_EQ(Items(commands_.Paths()), (Strings{Path(L"b.txt"), Path(L"a.txt")}));
}

TEST_F(CommandsTest, QuotedPathKeepsItsSpace) {
    ASSERT_TRUE(Parse(L"/e " + Quoted(L"My Files\\c.txt")));
    EXPECT_EQ(Items(commands_.Commands()), (Strings{L"e"}));
    EXPECT_EQ(Items(commands_.Paths()), (Strings{Path(L"My Files\\c.txt")}));
}

TEST_F(CommandsTest, FolderAndMatchingWildcardAreKeptAsGiven) {
    ASSERT_TRUE(Parse(L"/e " + Quoted(L"My Files") + L" " + Quoted(L"*.txt")));
    EXPECT_EQ(Items(commands_.Paths()), (Strings{Path(L"My Files"), Path(L"*.txt")}));
}

TEST_F(CommandsTest, AnyPathThatDoesNotExistDropsTheWholeLine) {
    const std::wstring lines[] = {
        L"/e " + Path(L"My Files\\c.txt"),
        L"/e " + Path(L"a.txt") + L" " + Path(L"missing.txt") + L" " + Path(L"b.txt"),
        L"/d " + Path(L"a.txt") + L"\t" + Path(L"b.txt"),
        L"/e " + Path(L"*.none"),
        L"/e \"\"",
    };
    for (const auto& line : lines) {
        CCommands commands;
        EXPECT_FALSE(commands.ParseCommandLine(L"ZTFileEn.exe " + line));
        EXPECT_EQ(commands.Commands().Count(), 0u);
        EXPECT_EQ(commands.Paths().Count(), 0u);
    }
}

TEST_F(CommandsTest, OverlongTokenDropsTheWholeLine) {
    EXPECT_FALSE(Parse(L"/e " + Quoted(L"a.txt") + L" /" + std::wstring(300, L'x')));
    ExpectDropped();
}

TEST_F(CommandsTest, CommandsAloneAreTaken) {
    ASSERT_TRUE(Parse(L"/RegServer   "));
    EXPECT_EQ(Items(commands_.Commands()), (Strings{L"RegServer"}));
    EXPECT_EQ(commands_.Paths().Count(), 0u);
}

}  // namespace
