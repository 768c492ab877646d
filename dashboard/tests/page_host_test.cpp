// The page as a user meets it: in the dashboard stand-in with the registered plug-in, driven
// through uidrive from outside, with the real store file, real files and folders, and a
// marker standing in for ZTFileEn as the open command of "Tapwise Crypto". The registry and
// the store are put back as they were found.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "dashboard_run.h"
#include "dashboard_test.h"

namespace {

constexpr wchar_t kOpenCommandKey[] = L"Tapwise Crypto\\shell\\open\\command";
// The icon and the text of a message box.
constexpr int kMessageIcon = 1088;
constexpr int kMessageText = 0xFFFF;

// A condition on the rows: their check boxes' images, top to bottom.
auto Checks(std::vector<int> images) {
    return [images](const std::vector<PageRow>& rows) {
        return std::equal(rows.begin(), rows.end(), images.begin(), images.end(),
                          [](const PageRow& row, int image) { return row.check == image; });
    };
}

auto Count(std::size_t count) {
    return [count](const std::vector<PageRow>& rows) { return rows.size() == count; };
}

class PageOnDashboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications\\DashBoard");
        ASSERT_EQ(plugIn_.Call("DllRegisterServer"), S_OK);
        install_ = folder_.Path(L"Zentaro Suite");
        ASSERT_TRUE(::CreateDirectoryW(install_.c_str(), nullptr));
        ASSERT_TRUE(
            ::CopyFileW((TestProgramFolder() + L"shell_marker.exe").c_str(), Marker().c_str(), FALSE));
        // Registered as registration writes it: the program's path unquoted, then the file.
        SetRegistryString(HKEY_CLASSES_ROOT, kOpenCommandKey, nullptr, Marker() + L" \"%1\"");
    }

    std::wstring Marker() const { return install_ + L"\\shell_marker.exe"; }
    // The command line the marker was started with; nothing when it was not started in time.
    std::optional<std::wstring> StartedCommandLine(DWORD timeoutMs = 20000) const {
        const std::wstring path = install_ + L"\\command-line.txt";
        if (!Eventually([&] { return FileExists(path); }, timeoutMs)) return std::nullopt;
        const Bytes bytes = ReadFileBytes(path);
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }
    // A file that exists, in a folder of its own; the folder.
    std::wstring MakeFile(const std::wstring& folder, const std::wstring& name) const {
        ::CreateDirectoryW(folder_.Path(folder).c_str(), nullptr);
        WriteFileBytes(folder_.Path(folder + L"\\" + name), PatternBytes(20));
        return folder_.Path(folder);
    }
    // A folder below path whose own path is longer than MAX_PATH, made level by level.
    static std::wstring MakeDeepFolder(std::wstring path) {
        for (wchar_t level = L'a'; path.size() <= 300; ++level) {
            path += L"\\" + std::wstring(100, level);
            EXPECT_TRUE(::CreateDirectoryW(path.c_str(), nullptr)) << path.size();
        }
        return path;
    }
    // A message box of that title, answered; the text it showed. Its icon and text tell it
    // from the dashboard's sheet, whose title may be the same.
    static std::wstring AnswerBox(const std::wstring& title, int answer) {
        const std::wstring text = std::to_wstring(kMessageText);
        const Driven box =
            Drive(L"--title \"" + title + L"\" --controls " + std::to_wstring(kMessageIcon) + L"," + text +
                  L" --get " + text + L" --click " + std::to_wstring(answer) + L" --gone");
        EXPECT_EQ(box.exitCode, 0u) << box.output;
        const std::size_t at = box.output.find(text + L": ");
        if (at == std::wstring::npos) return {};
        const std::wstring shown = box.output.substr(at + text.size() + 2);
        return shown.substr(0, shown.rfind(L"\n"));
    }
    static std::wstring AnswerRemoval(int answer) { return AnswerBox(L"Remove from the List", answer); }
    // A message of the page, under the product's name as the sheet is, acknowledged.
    static std::wstring AcknowledgeMessage() { return AnswerBox(kSheetTitle, IDOK); }
    // Picks the file or folder in the locate picker of that item and confirms it.
    static DWORD Pick(const std::wstring& item, int field, const std::wstring& path) {
        const std::wstring id = std::to_wstring(field);
        return Drive(L"--title \"Locate " + item + L"\" --controls " + id + L" --set " + id + L" \"" + path +
                     L"\" --click 1 --gone")
            .exitCode;
    }

    NotifySettingsBackup settings_;
    RegistrationBackup registration_;
    RegistryBackup branding_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Branding"};
    RegistryBackup fileType_{HKEY_CLASSES_ROOT, L"Tapwise Crypto"};
    StoreSandbox store_;
    TempFolder folder_;
    std::wstring install_;
    PlugIn plugIn_;
};

TEST_F(PageOnDashboardTest, ChecksEnableTheButtonsTheHeaderBoxFollowsAndSelectedRowsGoAlike) {
    store_.WriteStore(StoreBody(MissingItem(1) + MissingItem(2) + MissingItem(3)));
    DashboardRun dashboard;
    ASSERT_TRUE(dashboard.RowsBecome(Checks({1, 1, 1}), 15000));
    EXPECT_FALSE(dashboard.Enabled(IDC_REMOVE));
    EXPECT_FALSE(dashboard.Enabled(IDC_ENCRYPT));

    // One click on a box checks it once.
    dashboard.ClickCheckBox(0);
    dashboard.ClickCheckBox(2);
    ASSERT_TRUE(dashboard.RowsBecome(Checks({2, 1, 2})));
    EXPECT_TRUE(dashboard.Enabled(IDC_REMOVE));
    EXPECT_TRUE(dashboard.Enabled(IDC_ENCRYPT));
    EXPECT_EQ(dashboard.HeaderCheck(), 0);
    dashboard.ClickCheckBox(1);
    ASSERT_TRUE(dashboard.RowsBecome(Checks({2, 2, 2})));
    EXPECT_EQ(dashboard.HeaderCheck(), 1) << "every row is checked";

    dashboard.ClickHeaderCheckBox();
    EXPECT_TRUE(dashboard.RowsBecome(Checks({1, 1, 1})));
    EXPECT_EQ(dashboard.HeaderCheck(), 0);
    EXPECT_FALSE(dashboard.Enabled(IDC_REMOVE));
    EXPECT_FALSE(dashboard.Enabled(IDC_ENCRYPT));
    dashboard.ClickHeaderCheckBox();
    EXPECT_TRUE(dashboard.RowsBecome(Checks({2, 2, 2})));
    EXPECT_EQ(dashboard.HeaderCheck(), 1);

    // A click on the box of a selected row sets every selected row alike.
    dashboard.ClickName(0);
    dashboard.ClickName(2, true);
    ASSERT_TRUE(dashboard.RowsBecome([](const auto& rows) { return rows[0].selected && rows[2].selected; }));
    dashboard.ClickCheckBox(0);
    EXPECT_TRUE(dashboard.RowsBecome(Checks({1, 2, 1})));
}

// The rules of 1 to 6 hours are the rules' own tests; here, that the page shows the stored
// interval without writing it back, and stores what is typed or stepped in seconds.
TEST_F(PageOnDashboardTest, HoursShowWithinRangeAndTypedOrSteppedOnesAreStoredInSeconds) {
    store_.WriteStore(StoreBody(MissingItem(1)));
    const wchar_t* const key = NotifySettingsBackup::kSettingsKey;
    SetRegistryDword(HKEY_CURRENT_USER, key, L"CryptNotifyTimeout", 100000);
    SetRegistryDword(HKEY_CURRENT_USER, key, L"EnableCryptNotify", 0);
    DashboardRun dashboard;
    const std::wstring hours = std::to_wstring(IDC_NOTIFY_HOURS) + L" ";
    const auto shownAndStored = [&](int shown, DWORD seconds) {
        EXPECT_EQ(dashboard.OnSheet(L"--wait " + hours + std::to_wstring(shown)).exitCode, 0u) << shown;
        EXPECT_TRUE(Eventually(
            [&] { return ReadRegistryDword(HKEY_CURRENT_USER, key, L"CryptNotifyTimeout") == seconds; },
            5000))
            << seconds;
    };
    shownAndStored(6, 100000);
    EXPECT_EQ(::IsDlgButtonChecked(dashboard.Page(), IDC_NOTIFY), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_FALSE(dashboard.Enabled(IDC_NOTIFY_HOURS)) << "reminders are off";
    EXPECT_FALSE(dashboard.Enabled(IDC_NOTIFY_SPIN));
    dashboard.Click(IDC_NOTIFY);
    EXPECT_TRUE(Eventually([&] { return dashboard.Enabled(IDC_NOTIFY_HOURS); }, 5000));
    EXPECT_TRUE(Eventually(
        [&] { return ReadRegistryDword(HKEY_CURRENT_USER, key, L"EnableCryptNotify") == 1u; }, 5000));
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, key, L"CryptNotifyTimeout"), 100000u) << "not rewritten";

    dashboard.Act(L"--set " + hours + L"9");
    shownAndStored(6, 21600);
    dashboard.Act(L"--set " + hours + L"4");
    shownAndStored(4, 14400);
    dashboard.Press(IDC_NOTIFY_HOURS, L"Up");
    shownAndStored(5, 18000);
    dashboard.Press(IDC_NOTIFY_HOURS, L"Down");
    shownAndStored(4, 14400);
}

TEST_F(PageOnDashboardTest, RemovalAsksAboutWhatIsCheckedOnlyYesTakesItOffTheListAndAGoneStoreIsSaid) {
    const std::wstring folder = MakeFile(L"kept", L"a.txt");
    MakeFile(L"kept", L"b.txt");
    MakeFile(L"kept", L"c.txt");
    store_.WriteStore(StoreBody(Item(folder, "a.txt") + Item(folder, "b.txt") + Item(folder, "c.txt") +
                                MissingItem(1) + MissingItem(2)));
    const std::string before = store_.ReadStore();
    DashboardRun dashboard;
    ASSERT_TRUE(dashboard.RowsBecome(Count(5), 15000));
    const int a = dashboard.RowOf(L"a.txt");
    const int c = dashboard.RowOf(L"c.txt");
    dashboard.ClickCheckBox(a);
    dashboard.ClickCheckBox(c);
    ASSERT_TRUE(
        dashboard.RowsBecome([&](const auto& rows) { return rows[a].check == 2 && rows[c].check == 2; }));

    dashboard.Press(IDC_ITEMS, L"Delete");
    EXPECT_EQ(AnswerRemoval(IDNO), plugIn_.String(IDS_CONFIRM_REMOVE));
    EXPECT_EQ(dashboard.Rows().size(), 5u);
    EXPECT_EQ(store_.ReadStore(), before);
    dashboard.Press(IDC_ITEMS, L"Delete");
    EXPECT_EQ(AnswerRemoval(IDYES), plugIn_.String(IDS_CONFIRM_REMOVE));
    ASSERT_TRUE(dashboard.RowsBecome(Count(3)));
    EXPECT_EQ(StoreContent().Find(L"a.txt"), nullptr);
    EXPECT_EQ(StoreContent().Find(L"c.txt"), nullptr);
    EXPECT_TRUE(FileExists(folder + L"\\a.txt")) << "only the list forgets the items";
    EXPECT_TRUE(FileExists(folder + L"\\c.txt"));

    // Existing and missing items go after one question naming both.
    dashboard.ClickCheckBox(dashboard.RowOf(L"b.txt"));
    dashboard.ClickCheckBox(dashboard.RowOf(L"missing1.txt"));
    ASSERT_TRUE(Eventually([&] { return dashboard.Enabled(IDC_REMOVE); }, 5000));
    dashboard.Click(IDC_REMOVE);
    EXPECT_EQ(AnswerRemoval(IDYES), plugIn_.String(IDS_CONFIRM_REMOVE_BOTH));
    ASSERT_TRUE(dashboard.RowsBecome(
        [](const auto& rows) { return rows.size() == 1 && rows[0].name == L"missing2.txt"; }));
    EXPECT_EQ(StoreContent().Count(), 1u);

    // The store is read again before an edit; when it has gone meanwhile the edit is not
    // made, the user is told, and the list shows what is there now: nothing. A located
    // item's edit takes the same way.
    dashboard.ClickCheckBox(0);
    ASSERT_TRUE(Eventually([&] { return dashboard.Enabled(IDC_REMOVE); }, 5000));
    ASSERT_TRUE(::DeleteFileW(store_.StoreFile().c_str()));
    dashboard.Click(IDC_REMOVE);
    EXPECT_EQ(AnswerRemoval(IDYES), plugIn_.String(IDS_CONFIRM_REMOVE_MISSING));
    EXPECT_EQ(AcknowledgeMessage(), plugIn_.String(IDS_LIST_NOT_CHANGED));
    EXPECT_TRUE(dashboard.RowsBecome(Count(0)));
    EXPECT_FALSE(FileExists(store_.StoreFile())) << "nothing was saved in its place";
}

// One name in the store, put there by another program, holds quotation marks: it would close
// the quoted path and add a folder of the user's to the command.
TEST_F(PageOnDashboardTest, EncryptStartsTheProgramWithThePassableCheckedPathsAndReloadsWhenItEnds) {
    const std::wstring d = MakeFile(L"D", L"a.txt");
    const std::wstring e = MakeFile(L"E", L"x");
    ASSERT_TRUE(::CreateDirectoryW((e + L"\\b").c_str(), nullptr));
    const std::wstring documents = folder_.Path(L"Documents");
    const std::wstring tampered = L"x\" \"" + documents;
    store_.WriteStore(StoreBody(Item(d, "a.txt") + Item(e, "b", true) +
                                Item(d, "x&quot; &quot;" + std::string(documents.begin(), documents.end()))));
    // The program keeps running until the test lets it end.
    WriteFileBytes(install_ + L"\\hold", {});
    DashboardRun dashboard;
    ASSERT_TRUE(dashboard.RowsBecome(Count(3), 15000));
    ASSERT_GE(dashboard.RowOf(tampered), 0) << "the item is shown as it is";
    const int a = dashboard.RowOf(L"a.txt");
    const int b = dashboard.RowOf(L"b");
    dashboard.ClickCheckBox(a);
    dashboard.ClickCheckBox(b);
    ASSERT_TRUE(
        dashboard.RowsBecome([&](const auto& rows) { return rows[a].check == 2 && rows[b].check == 2; }));
    const std::vector<PageRow> rows = dashboard.Rows();
    const auto path = [&](int row) {
        return L"\"" + rows[static_cast<std::size_t>(row)].location + L"\\" +
               rows[static_cast<std::size_t>(row)].name + L"\"";
    };

    // Started at once: a message would hold it back.
    dashboard.Press(IDC_ITEMS, L"Alt+Enter");
    std::optional<std::wstring> started = StartedCommandLine();
    ASSERT_TRUE(started) << "the program was not started";
    // The program is quoted: its folder has a space. The bottom row comes first.
    EXPECT_EQ(*started, Quoted(Marker()) + L" /e " + path(std::max(a, b)) + L" " + path(std::min(a, b)));

    // What the program did shows once it has ended, and not before.
    ASSERT_TRUE(::DeleteFileW((d + L"\\a.txt").c_str()));
    ::Sleep(1500);
    EXPECT_FALSE(dashboard.Rows()[static_cast<std::size_t>(a)].cut);
    ASSERT_TRUE(::DeleteFileW((install_ + L"\\hold").c_str()));
    ASSERT_TRUE(
        dashboard.RowsBecome([&](const auto& now) { return now[a].name == L"a.txt" && now[a].cut; }, 4000))
        << "the list is reloaded when the program ends";

    // The item no file can have is left out, and the user told; alone, nothing is started.
    ASSERT_TRUE(::DeleteFileW((install_ + L"\\command-line.txt").c_str()));
    const int t = dashboard.RowOf(tampered);
    dashboard.ClickCheckBox(b);
    dashboard.ClickCheckBox(t);
    ASSERT_TRUE(
        dashboard.RowsBecome([&](const auto& now) { return now[b].check == 2 && now[t].check == 2; }));
    dashboard.Click(IDC_ENCRYPT);
    EXPECT_EQ(AcknowledgeMessage(), plugIn_.String(IDS_ITEMS_LEFT_OUT));
    started = StartedCommandLine();
    ASSERT_TRUE(started) << "the program was not started for the other item";
    EXPECT_EQ(*started, Quoted(Marker()) + L" /e \"" + e + L"\\b\"");

    ASSERT_TRUE(::DeleteFileW((install_ + L"\\command-line.txt").c_str()));
    dashboard.ClickCheckBox(b);
    ASSERT_TRUE(
        dashboard.RowsBecome([&](const auto& now) { return now[b].check == 1 && now[t].check == 2; }));
    dashboard.Click(IDC_ENCRYPT);
    EXPECT_EQ(AcknowledgeMessage(), plugIn_.String(IDS_ITEMS_LEFT_OUT));
    EXPECT_FALSE(StartedCommandLine(2000));
}

// A file of another name is questioned: yes keeps the picker for another choice, no takes
// the choice, which is not the item, so nothing changes.
TEST_F(PageOnDashboardTest, AMovedFileIsFoundAgainByItsNameInAnyCaseAndAnotherNameIsQuestioned) {
    const std::wstring moved = MakeFile(L"moved here", L"Report.TXT");
    const std::wstring other = MakeFile(L"elsewhere", L"other.txt") + L"\\other.txt";
    store_.WriteStore(StoreBody(Item(folder_.Path(L"was here"), "report.txt") + MissingItem(1)));
    const std::string before = store_.ReadStore();
    DashboardRun dashboard;
    ASSERT_TRUE(dashboard.RowsBecome(Count(2), 15000));
    const int row = dashboard.RowOf(L"report.txt");
    const PageRow missing = dashboard.Rows()[static_cast<std::size_t>(row)];
    EXPECT_TRUE(missing.cut);
    EXPECT_EQ(missing.location, plugIn_.String(IDS_NOT_FOUND));

    const std::wstring picker = L"--title \"Locate report.txt\" --controls 1148 ";
    const std::wstring question = L"--title \"Locate report.txt\" --controls 6,7 --click ";
    dashboard.ClickLink(row);
    const Driven found = Drive(picker);
    ASSERT_EQ(found.exitCode, 0u) << "the file picker did not come up: " << found.output;
    WaitForScreenshot(L"dashboard-locate-file");
    ASSERT_EQ(Drive(picker + L"--set 1148 \"" + other + L"\" --click 1").exitCode, 0u);
    ASSERT_EQ(Drive(question + L"6 --gone").exitCode, 0u);
    ASSERT_EQ(Drive(picker + L"--set 1148 \"" + other + L"\" --click 1").exitCode, 0u);
    ASSERT_EQ(Drive(question + L"7 --gone").exitCode, 0u);
    EXPECT_TRUE(Eventually([] { return !::FindWindowW(L"#32770", L"Locate report.txt"); }, 10000))
        << "the picker closed";
    ::Sleep(1000);
    EXPECT_TRUE(dashboard.Rows()[static_cast<std::size_t>(row)].cut);
    EXPECT_EQ(store_.ReadStore(), before);

    dashboard.ClickLink(row);
    ASSERT_EQ(Pick(L"report.txt", 1148, moved + L"\\Report.TXT"), 0u);
    EXPECT_TRUE(dashboard.RowsBecome([&](const auto& rows) {
        const auto it =
            std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.name == L"report.txt"; });
        return it != rows.end() && !it->cut && it->location == moved;
    }));
    const StoreContent content;
    ASSERT_NE(content.Find(L"report.txt"), nullptr);
    EXPECT_EQ(content.Find(L"report.txt")->Path(), moved);
    EXPECT_EQ(content.Find(L"report.txt")->Name(), L"report.txt");
    EXPECT_EQ(content.Count(), 2u);
}

TEST_F(PageOnDashboardTest, AFolderIsLookedForFromTheNearestExistingParentAndCanBeTyped) {
    const std::wstring gone = folder_.Path(L"gone\\deeper");
    // Away from the folders the picker opens on its way to the nearest one.
    const TempFolder elsewhere;
    const std::wstring now = MakeDeepFolder(elsewhere.Path());
    ASSERT_TRUE(::CreateDirectoryW((now + L"\\Projects").c_str(), nullptr));
    store_.WriteStore(StoreBody(Item(gone, "projects", true)));
    DashboardRun dashboard;
    ASSERT_TRUE(
        dashboard.RowsBecome([](const auto& rows) { return rows.size() == 1 && rows[0].cut; }, 15000));

    dashboard.ClickLink(0);
    const std::wstring tree = std::to_wstring(0x3741);
    const std::wstring picker = L"--title \"Locate projects\" --controls 1138 ";
    const Driven shown = Drive(picker + L"--get 1138");
    ASSERT_EQ(shown.exitCode, 0u) << "the folder picker did not come up: " << shown.output;
    // The field shows where the folder was, the tree the nearest folder that is still there,
    // which Wine's browser reaches a moment after it shows.
    EXPECT_NE(shown.output.find(L"1138: " + gone + L"\n"), std::wstring::npos) << shown.output;
    const std::wstring nearest = folder_.Path().substr(folder_.Path().rfind(L'\\') + 1);
    std::wstring selected;
    EXPECT_TRUE(Eventually(
        [&] {
            selected = Drive(picker + L"--tree-selection " + tree).output;
            return selected.find(tree + L": " + nearest) != std::wstring::npos;
        },
        5000))
        << selected;
    WaitForScreenshot(L"dashboard-locate-folder");

    ASSERT_EQ(Pick(L"projects", 1138, now + L"\\Projects"), 0u);
    EXPECT_TRUE(dashboard.RowsBecome(
        [&](const auto& rows) { return rows.size() == 1 && !rows[0].cut && rows[0].location == now; }));
    const StoreContent content;
    ASSERT_NE(content.Find(L"projects"), nullptr);
    EXPECT_EQ(content.Find(L"projects")->Path(), now);
    EXPECT_TRUE(content.Find(L"projects")->IsFolder());
}

TEST_F(PageOnDashboardTest, WithoutAStoreOnlyTheStartupPanelShowsUntilTheFileIsMade) {
    ::DeleteFileW(store_.StoreFile().c_str());
    DashboardRun dashboard;
    const auto panelText = [&] {
        const HWND panel = ::FindWindowExW(dashboard.Page(), nullptr, L"#32770", nullptr);
        return panel ? ::GetDlgItem(panel, IDC_STARTUP_TEXT) : nullptr;
    };
    ASSERT_NE(panelText(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(panelText()));
    for (int id :
         {IDC_ITEMS, IDC_REFRESH, IDC_NOTIFY, IDC_NOTIFY_HOURS, IDC_NOTIFY_SPIN, IDC_ENCRYPT, IDC_REMOVE})
        EXPECT_FALSE(::IsWindowVisible(dashboard.Control(id))) << id;
    WaitForScreenshot(L"dashboard-startup");

    store_.WriteStore(StoreBody(MissingItem(1)));
    const ULONGLONG written = ::GetTickCount64();
    ASSERT_TRUE(Eventually([&] { return ::IsWindowVisible(dashboard.Control(IDC_ITEMS)) != FALSE; }, 5000));
    EXPECT_LT(::GetTickCount64() - written, 3000u) << "the page looks for the file every second";
    EXPECT_FALSE(::IsWindowVisible(panelText()));
    EXPECT_TRUE(dashboard.RowsBecome(Count(1), 10000));
}

TEST_F(PageOnDashboardTest, HelpStartsTheOnlineHelpAtThePagesTopic) {
    const RegistryValueBackup binDir(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications", L"BinDir");
    ASSERT_TRUE(::MoveFileW(Marker().c_str(), (install_ + L"\\ZtOnlineHelp.exe").c_str()));
    SetRegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications", L"BinDir", install_);
    store_.WriteStore(StoreBody(MissingItem(1)));
    DashboardRun dashboard;
    dashboard.Click(IDHELP);
    const std::optional<std::wstring> started = StartedCommandLine();
    ASSERT_TRUE(started) << "the help program was not started";
    EXPECT_TRUE(started->ends_with(L" 26;{73914D63-F8A8-49A8-AE4E-A74775AD4970}")) << *started;
}

}  // namespace
