#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/registration/registry_keys.h"
#include "process_run.h"
#include "text/help.h"
#include "text/online_help.h"
#include "text/product_folders.h"

namespace {

class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kApplicationsKey);
        ::RegDeleteValueW(HKEY_LOCAL_MACHINE, kZentaroKey);
    }
    void TearDown() override { ::SetEnvironmentVariableW(L"ProgramFiles", programFiles_.c_str()); }

    std::wstring programFiles_ = [] {
        wchar_t value[MAX_PATH] = {};
        ::GetEnvironmentVariableW(L"ProgramFiles", value, MAX_PATH);
        return std::wstring(value);
    }();
    RegistryCleanup applications_{HKEY_LOCAL_MACHINE, kApplicationsKey};
};

// BinDir gets one trailing separator, and is not used when too long for its buffer; without the
// Applications key the bin folder is below ProgramFiles, and without either there is none.
TEST_F(FoldersTest, TheBinFolderIsBinDirOrBelowProgramFiles) {
    struct Case {
        const wchar_t* programFiles;
        std::optional<std::wstring> binDir;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"D:\\Programs", std::nullopt, L"D:\\Programs\\zentaro\\bin\\"},
        {L"D:\\Programs\\", std::nullopt, L"D:\\Programs\\zentaro\\bin\\"},
        {nullptr, std::nullopt, L""},
        {L"D:\\Programs", L"C:\\Zentaro\\bin", L"C:\\Zentaro\\bin\\"},
        {L"D:\\Programs", L"C:\\Zentaro\\bin\\", L"C:\\Zentaro\\bin\\"},
        {L"D:\\Programs", L"C:/Zentaro/bin/", L"C:/Zentaro/bin/"},
        {L"D:\\Programs", L"", L""},
        {L"D:\\Programs", L"C:\\" + std::wstring(300, L'a'), L""},
    };
    for (const Case& c : cases) {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kApplicationsKey);
        ::SetEnvironmentVariableW(L"ProgramFiles", c.programFiles);
        if (c.binDir) SetRegistryString(HKEY_LOCAL_MACHINE, kApplicationsKey, L"BinDir", *c.binDir);
        EXPECT_EQ(GetBinFolder(), c.expected) << c.binDir.value_or(c.programFiles ? c.programFiles : L"-");
    }
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kApplicationsKey);
    SetRegistryString(HKEY_LOCAL_MACHINE, kApplicationsKey, L"Other", L"x");
    EXPECT_EQ(GetBinFolder(), L"");
}

// What the help viewer is asked, in order; the query for the window type answers with
// whatever the test sets.
struct ViewerCall {
    std::wstring file;
    UINT command;
    DWORD_PTR data;
    bool operator==(const ViewerCall&) const = default;
};
std::vector<ViewerCall> viewerCalls;
HWND viewerWindow = nullptr;
void* const kWindowType = reinterpret_cast<void*>(0x1234);
// What displaying a topic answers: the help window.
const HWND kDisplayedWindow = reinterpret_cast<HWND>(0x5678);

HWND WINAPI RecordingViewer(HWND, const wchar_t* file, UINT command, DWORD_PTR data) {
    viewerCalls.push_back({file, command, command == 5 ? 0 : data});
    if (command != 5) return command == 0 ? kDisplayedWindow : nullptr;
    *reinterpret_cast<void**>(data) = kWindowType;
    return viewerWindow;
}

// Display (0), query the window type (5), set it again (4) only for a help window that
// exists, display again.
TEST_F(FoldersTest, HelpShowsTheTopicAndSetsTheViewersWindowTypeOnlyForAWindowThatExists) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kZentaroKey, L"ZentaroPath", L"C:\\Zentaro");
    const CHelp help(L"ztcrypt", L"/encrypting_files.htm");
    const std::wstring address = L"C:\\Zentaro\\Help\\ztcrypt.chm::/encrypting_files.htm";
    const auto type = reinterpret_cast<DWORD_PTR>(kWindowType);
    const HWND noWindows[] = {nullptr, reinterpret_cast<HWND>(-1)};
    for (const HWND answer : noWindows) {
        viewerCalls.clear();
        viewerWindow = answer;
        help.ShowHelp(nullptr, help.Topic(), RecordingViewer);
        EXPECT_EQ(viewerCalls, (std::vector<ViewerCall>{{address, 0, 0}, {address, 5, 0}, {address, 0, 0}}));
    }
    viewerCalls.clear();
    viewerWindow = ::GetDesktopWindow();
    help.ShowHelp(nullptr, L"", RecordingViewer);
    const std::wstring file = L"C:\\Zentaro\\Help\\ztcrypt.chm";
    EXPECT_EQ(viewerCalls,
              (std::vector<ViewerCall>{{file, 0, 0}, {file, 5, 0}, {file, 4, type}, {file, 0, 0}}));
}

// Wine's user interface is English, which has the help file without a language suffix.
// Opening, as the online-help program does, only displays the topic.
TEST_F(FoldersTest, TheHelpFileIsInTheInstallationsHelpFolderAndOpeningDisplaysTheTopic) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kZentaroKey, L"ZentaroPath", L"C:\\Zentaro");
    const CHelp help(L"ztcrypt", L"/encrypting_files.htm");
    EXPECT_EQ(help.Path(), L"C:\\Zentaro\\Help\\ztcrypt.chm");
    EXPECT_EQ(help.ShortName(), L"ztcrypt.chm");
    EXPECT_EQ(help.Topic(), L"/encrypting_files.htm");
    viewerCalls.clear();
    EXPECT_EQ(help.Open(nullptr, L"/Introduction.htm", RecordingViewer), kDisplayedWindow);
    EXPECT_EQ(viewerCalls,
              (std::vector<ViewerCall>{{L"C:\\Zentaro\\Help\\ztcrypt.chm::/Introduction.htm", 0, 0}}));
    EXPECT_EQ(help.Open(nullptr, L"", nullptr), nullptr);
    EXPECT_NE(SystemHtmlHelp(), nullptr);  // the system folder has one, as Wine's does
}

TEST_F(FoldersTest, OnlineHelpStartsTheProgramWithTopicAndProduct) {
    TempFolder bin;
    SetRegistryString(HKEY_LOCAL_MACHINE, kApplicationsKey, L"BinDir", bin.Path());
    // A small program stands in for the online-help program and records its arguments.
    const std::wstring program = bin.Path(L"ZtOnlineHelp.exe");
    ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"text_echo_args.exe").c_str(), program.c_str(), FALSE));
    ::SetEnvironmentVariableW(L"ZT_ECHO_ARGS_FILE", bin.Path(L"args.txt").c_str());
    OpenOnlineHelp(26, kOnlineHelpProductId);
    for (int i = 0; i < 200 && !FileExists(bin.Path(L"args.txt")); ++i) ::Sleep(50);
    const Bytes args = ReadFileBytes(bin.Path(L"args.txt"));
    EXPECT_EQ(std::string(args.begin(), args.end()), "26;{73914D63-F8A8-49A8-AE4E-A74775AD4970}");
}

}  // namespace
