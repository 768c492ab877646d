// The plug-in as Explorer uses it: registered with regsvr32, created through COM by the
// Explorer stand-in for a real selection, its menu read back, and its commands invoked, with
// the started program's command line captured by a marker registered as the main program.
#include <gtest/gtest.h>

#include <windows.h>
// shellapi.h and shlobj.h need windows.h first.
#include <shellapi.h>
#include <shlobj.h>

#include "process_run.h"
#include "shellext_fixture.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kEncryptText[] = L"&Encrypt with Tapwise Crypto";
constexpr wchar_t kDecryptText[] = L"&Decrypt with Tapwise Crypto";
// The plug-in's commands sit at offsets 1 and 2 from the first identifier the host grants.
constexpr UINT kFirst = 100;

std::vector<std::wstring> Verbs(const HostRun& run) {
    std::vector<std::wstring> verbs;
    for (const HostItem& item : run.PlugInItems()) verbs.push_back(item.verb);
    return verbs;
}

using MenuTest = ShellExtTest;
using Strings = std::vector<std::wstring>;

TEST_F(MenuTest, PlainAndEncryptedFilesOfferBothEncryptAtTheInsertionPositionDecryptBelow) {
    const HostRun run = Host(L"", {File(L"a.txt"), File(L"b.zte")});
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.handlerResults, Strings{L"0x00000003"});
    ASSERT_EQ(run.items.size(), 4u) << run.output;
    EXPECT_EQ(run.items[0].text, L"&Open");
    const HostItem& encrypt = run.items[1];
    EXPECT_EQ(encrypt.id, kFirst + 1);
    EXPECT_EQ(encrypt.verb, L"Encrypt");
    EXPECT_EQ(encrypt.text, kEncryptText);
    EXPECT_TRUE(encrypt.bitmaps);
    EXPECT_EQ(encrypt.help, L"Encrypts the selected files and the files in the selected folders.");
    const HostItem& decrypt = run.items[2];
    EXPECT_EQ(decrypt.id, kFirst + 2);
    EXPECT_EQ(decrypt.verb, L"Decrypt");
    EXPECT_EQ(decrypt.text, kDecryptText);
    EXPECT_TRUE(decrypt.bitmaps);
    EXPECT_EQ(decrypt.help, L"Decrypts the encrypted files among the selected files and folders.");
    EXPECT_EQ(run.items[3].text, L"P&roperties");
}

// The program's folder has a space: unquoted, the system would look for "...\Zentaro.exe". An
// open command without the placeholder is used whole, and one that carries quotes and
// arguments is not quoted again.
TEST_F(MenuTest, ACommandStartsTheQuotedProgramWithItsSwitchThenEveryQuotedPath) {
    const std::wstring plain = File(L"a.txt");
    const std::wstring encrypted = File(L"b.zte");
    const struct {
        std::wstring openCommand;
        const wchar_t* arguments;
        std::vector<std::wstring> paths;
        std::wstring expected;
    } cases[] = {
        {MarkerPath() + L" \"%1\"",
         L"--verb Encrypt",
         {plain, encrypted},
         L" /e " + Quoted(plain) + L" " + Quoted(encrypted)},
        {MarkerPath() + L" \"%1\"", L"--offset 2", {encrypted}, L" /d " + Quoted(encrypted)},
        {MarkerPath(), L"--verb Encrypt", {plain}, L" /e " + Quoted(plain)},
        {Quoted(MarkerPath()) + L" /quiet \"%1\"",
         L"--verb Encrypt",
         {plain},
         L" /quiet /e " + Quoted(plain)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.openCommand + L" " + c.arguments);
        ::DeleteFileW(Installed(L"command-line.txt").c_str());
        SetOpenCommand(c.openCommand);
        const HostRun run = Host(c.arguments, c.paths);
        EXPECT_EQ(run.invokeResults, Strings{L"0x00000000"}) << run.output;
        EXPECT_EQ(StartedCommandLine(), Quoted(MarkerPath()) + c.expected);
    }
}

TEST_F(MenuTest, OnlyTheExactLowerCaseExtensionCountsAsEncrypted) {
    EXPECT_EQ(Verbs(Host(L"", {File(L"REPORT.ZTE")})), Strings{L"Encrypt"});
    EXPECT_EQ(Verbs(Host(L"", {File(L"minutes.zte")})), Strings{L"Decrypt"});
}

TEST_F(MenuTest, FoldersAreLookedIntoAtAnyDepth) {
    File(L"Encrypted\\one.zte");
    File(L"Encrypted\\Deeper\\Still deeper\\two.zte");
    EXPECT_EQ(Verbs(Host(L"", {Folder(L"Encrypted")})), Strings{L"Decrypt"});
    File(L"Mixed\\Deeper\\plain.doc");
    File(L"Mixed\\Other\\three.zte");
    EXPECT_EQ(Verbs(Host(L"", {Folder(L"Mixed")})), (Strings{L"Encrypt", L"Decrypt"}));
    // Its path still reaches the plug-in, but with nothing to offer the menu stays as it was.
    const HostRun empty = Host(L"", {Folder(L"Empty")});
    EXPECT_EQ(empty.handlerResults, Strings{L"0x00000003"});
    EXPECT_TRUE(empty.PlugInItems().empty());
    EXPECT_EQ(empty.items.size(), 2u);
}

TEST_F(MenuTest, ANegativeShowSettingHidesBothCommandsAndZeroCountsAsTheDefault) {
    const std::vector<std::wstring> both{File(L"a.txt"), File(L"b.zte")};
    SetShowCommands(L"-1");
    EXPECT_TRUE(Host(L"", both).PlugInItems().empty());
    SetShowCommands(L"0");
    EXPECT_EQ(Verbs(Host(L"", both)), (Strings{L"Encrypt", L"Decrypt"}));
    SetShowCommands(L"1");
    EXPECT_EQ(Verbs(Host(L"", both)), (Strings{L"Encrypt", L"Decrypt"}));
}

// Menus for defaults or verbs only, a selection only in the Windows folder, and a missing file
// type (the last case) get no commands.
TEST_F(MenuTest, WhereThereIsNothingToOfferTheHandlerAddsNothing) {
    const std::vector<std::wstring> both{File(L"a.txt"), File(L"b.zte")};
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const struct {
        const wchar_t* arguments;
        std::vector<std::wstring> paths;
    } cases[] = {{L"--flags 1", both},
                 {L"--flags 2", both},
                 {L"--flags 8", both},
                 {L"", {std::wstring(windows) + L"\\win.ini"}},
                 {L"", both}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments + c.paths.front());
        if (&c == &cases[std::size(cases) - 1]) DeleteRegistryTree(HKEY_CLASSES_ROOT, kFileTypeKey);
        const HostRun run = Host(c.arguments, c.paths);
        EXPECT_EQ(run.handlerResults, Strings{L"0x00000000"}) << run.output;
        EXPECT_TRUE(run.PlugInItems().empty());
    }
}

// The user's Start menu folder and a file of the test's own beside it, removed afterwards:
// selected together, as they can be in the folder that holds the Start menu.
class StartMenuAndNeighbour {
public:
    StartMenuAndNeighbour() {
        wchar_t folder[MAX_PATH] = {};
        EXPECT_TRUE(
            SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_STARTMENU | CSIDL_FLAG_CREATE, nullptr, 0, folder)));
        startMenu_ = folder;
        neighbour_ = startMenu_.substr(0, startMenu_.rfind(L'\\')) + L"\\zt shell test " +
                     std::to_wstring(::GetCurrentProcessId()) + L".txt";
        WriteFileBytes(neighbour_, PatternBytes(10));
    }
    ~StartMenuAndNeighbour() { ::DeleteFileW(neighbour_.c_str()); }
    const std::wstring& StartMenu() const { return startMenu_; }
    const std::wstring& Neighbour() const { return neighbour_; }

private:
    std::wstring startMenu_;
    std::wstring neighbour_;
};

TEST_F(MenuTest, PathsInTheStartMenuAreLeftOutOfTheCommandLine) {
    const StartMenuAndNeighbour selection;
    const HostRun run = Host(L"--verb Encrypt", {selection.StartMenu(), selection.Neighbour()});
    EXPECT_EQ(run.invokeResults, Strings{L"0x00000000"}) << run.output;
    EXPECT_EQ(StartedCommandLine(), Quoted(MarkerPath()) + L" /e " + Quoted(selection.Neighbour()));
}

TEST_F(MenuTest, ASelectionTooLongForOneCommandLineStartsNothing) {
    // 300 paths of over 120 characters: well past the 32767 a command line may hold.
    std::wstring list;
    for (int i = 0; i < 300; ++i) {
        const std::wstring path = File(std::wstring(100, L'x') + L" " + std::to_wstring(i) + L".txt");
        list += path + L"\r\n";
    }
    const std::wstring listFile = root_.Path(L"selection.txt");
    WriteFileBytes(listFile, Bytes(reinterpret_cast<const std::uint8_t*>(list.data()),
                                   reinterpret_cast<const std::uint8_t*>(list.data() + list.size())));
    const HostRun run = Host(L"--no-ui --verb Encrypt --list " + Quoted(listFile), {File(L"a.txt")});
    EXPECT_EQ(run.invokeResults, Strings{L"0x800700CE"}) << run.output;
    EXPECT_EQ(StartedCommandLine(3000), std::nullopt);
}

TEST_F(MenuTest, PickedFromTheShownMenuStartsTheProgram) {
    const std::wstring plain = File(L"Quarterly report.odt");
    const std::wstring encrypted = File(L"Budget 2026.xlsx.zte");
    // Run by the screenshot test, the menu stays up until its picture is taken.
    wchar_t hold[MAX_PATH] = {};
    const bool photographed = ::GetEnvironmentVariableW(L"ZT_MENU_HOLD", hold, MAX_PATH) > 0;
    const std::wstring holdFile =
        photographed ? FromBuildPath(std::string(hold, hold + wcslen(hold)).c_str()) : root_.Path(L"hold");
    const HostRun run =
        Host(L"--show --pick 1 --hold " + Quoted(holdFile) + (photographed ? L" 60000" : L" 0"),
             {plain, encrypted});
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.picked, Strings{std::to_wstring(kFirst + 1)});
    EXPECT_EQ(run.invokeResults, Strings{L"0x00000000"});
    EXPECT_EQ(StartedCommandLine(),
              Quoted(MarkerPath()) + L" /e " + Quoted(plain) + L" " + Quoted(encrypted));
}

}  // namespace
