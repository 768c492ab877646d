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

TEST_F(MenuTest, EncryptStartsTheQuotedProgramWithEveryQuotedPathAfterTheSwitch) {
    const std::wstring plain = File(L"a.txt");
    const std::wstring encrypted = File(L"b.zte");
    const HostRun run = Host(L"--verb Encrypt", {plain, encrypted});
    EXPECT_EQ(run.invokeResults, Strings{L"0x00000000"}) << run.output;
    // The program's folder has a space: unquoted, the system would look for "...\Zentaro.exe".
    EXPECT_EQ(StartedCommandLine(),
              Quoted(MarkerPath()) + L" /e " + Quoted(plain) + L" " + Quoted(encrypted));
}

TEST_F(MenuTest, DecryptByOffsetPassesTheDecryptSwitch) {
    const std::wstring encrypted = File(L"b.zte");
    const HostRun run = Host(L"--offset 2", {encrypted});
    EXPECT_EQ(run.invokeResults, Strings{L"0x00000000"}) << run.output;
    EXPECT_EQ(StartedCommandLine(), Quoted(MarkerPath()) + L" /d " + Quoted(encrypted));
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

TEST_F(MenuTest, MenusForDefaultsOrVerbsOnlyGetNoCommands) {
    const std::vector<std::wstring> both{File(L"a.txt"), File(L"b.zte")};
    for (const wchar_t* flags : {L"1", L"2", L"8"}) {
        const HostRun run = Host(std::wstring(L"--flags ") + flags, both);
        EXPECT_EQ(run.handlerResults, Strings{L"0x00000000"}) << flags;
        EXPECT_TRUE(run.PlugInItems().empty()) << flags;
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

TEST_F(MenuTest, ASelectionOnlyInTheWindowsFolderGetsNoCommands) {
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const HostRun run = Host(L"", {std::wstring(windows) + L"\\win.ini"});
    EXPECT_EQ(run.handlerResults, Strings{L"0x00000000"}) << run.output;
    EXPECT_TRUE(run.PlugInItems().empty());
}

TEST_F(MenuTest, ACommandWithoutThePlaceholderIsUsedWhole) {
    const std::wstring plain = File(L"a.txt");
    SetOpenCommand(MarkerPath());
    Host(L"--verb Encrypt", {plain});
    EXPECT_EQ(StartedCommandLine(), Quoted(MarkerPath()) + L" /e " + Quoted(plain));
}

TEST_F(MenuTest, ACommandThatCarriesQuotesAndArgumentsIsNotQuotedAgain) {
    const std::wstring plain = File(L"a.txt");
    SetOpenCommand(Quoted(MarkerPath()) + L" /quiet \"%1\"");
    Host(L"--verb Encrypt", {plain});
    EXPECT_EQ(StartedCommandLine(), Quoted(MarkerPath()) + L" /quiet /e " + Quoted(plain));
}

TEST_F(MenuTest, WithoutTheFileTypeThereAreNoCommands) {
    DeleteRegistryTree(HKEY_CLASSES_ROOT, kFileTypeKey);
    const HostRun run = Host(L"", {File(L"a.txt"), File(L"b.zte")});
    EXPECT_EQ(run.handlerResults, Strings{L"0x00000000"}) << run.output;
    EXPECT_TRUE(run.PlugInItems().empty());
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
