// The page from the real ZTFileProtect.dll in a property sheet on the test's own thread, as
// the dashboard shows it, for what only the page's thread can see: closing the sheet while a
// load runs leaves nothing of the plug-in running, the page's actions answer at once while a
// load holds the list, the refresh button turns only for the user's clicks and until the
// load of the last one has ended, the rows' info tips, the cursor over a link, images, and
// the sizes of everything at the screen's DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/text/unix_time.h"
#include "dashboard/page/page_shared.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard/rules/item_list_rules.h"
#include "dashboard_test.h"
#include "process_run.h"
#include "registry_backup.h"
#include "ui/window_subclass.h"
#include "win/window_dpi.h"
#include "window_creation.h"

namespace {

// Watches the page's window for the ends of loads, with the time each arrived and whether
// the list changed.
class LoadWatch final : public CWindowSubclass {
public:
    struct Load {
        ULONGLONG at;
        bool changed;
    };
    std::vector<Load> loads;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ITEMS_LOADED) loads.push_back({::GetTickCount64(), wParam != 0});
        return Default(message, wParam, lParam);
    }
};

// Enough items that reading the store whole takes a good part of a second under Wine, longer
// than the button turns after a load. The items repeat one, so the list stays short.
constexpr int kLongLoadItems = 20000;
// Enough that a load outlasts a picker and a question shown and answered one after another.
constexpr int kHeldLoadItems = 50000;
// What a person would still call at once, with a picker and a question answered from another
// process under Wine.
constexpr ULONGLONG kAtOnceMs = 3000;

// A store that takes a while to read and yet makes one row: the same item over and over.
std::string RepeatedItem(int item, int times) {
    std::string items;
    for (int i = 0; i < times; ++i) items += MissingItem(item);
    return items;
}

class PageTest : public ::testing::Test {
protected:
    void SetUp() override {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
    void TearDown() override { CloseSheet(); }
    void CloseSheet() {
        if (sheet_) ::DestroyWindow(sheet_);
        sheet_ = nullptr;
    }

    // The plug-in's page in a sheet of its own; the descriptor is freed as the dashboard does.
    void ShowPage() {
        DashboardPageInfo* info = nullptr;
        ASSERT_EQ(plugIn_.GetPage(&info, 0), S_OK);
        HPROPSHEETPAGE page = info->page;
        ::LocalFree(info->title);
        ::LocalFree(info);
        PROPSHEETHEADERW header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW;
        header.pszCaption = L"Page test";
        header.nPages = 1;
        header.phpage = &page;
        sheet_ = reinterpret_cast<HWND>(::PropertySheetW(&header));
        ASSERT_NE(sheet_, nullptr);
        page_ = PropSheet_GetCurrentPageHwnd(sheet_);
        list_ = ::GetDlgItem(page_, IDC_ITEMS);
        ASSERT_NE(list_, nullptr);
        watch_.Attach(page_);
    }
    // Shows the page with the store and waits until its first load is shown.
    void ShowLoadedPage(const std::string& items, int rows) {
        store_.WriteStore(StoreBody(items));
        ASSERT_NO_FATAL_FAILURE(ShowPage());
        ASSERT_TRUE(sink_.PumpUntil([&] { return Rows() == rows && !watch_.loads.empty(); }, 20000));
        // Where a link is drawn is known once the rows are.
        ::UpdateWindow(list_);
    }
    // Asks the page for a load as a thread does; waits for its end when asked to.
    void RequestLoad(bool wait) {
        const std::size_t before = watch_.loads.size();
        ::PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
        if (wait) {
            ASSERT_TRUE(sink_.PumpUntil([&] { return watch_.loads.size() > before; }, 20000));
        }
    }
    // The cursor the control asks for with the mouse over it.
    HCURSOR AskCursor(HWND control) const {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        ::SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    }
    int RowOf(const std::wstring& name) const {
        for (int row = 0; row < Rows(); ++row) {
            wchar_t text[MAX_PATH] = {};
            ListView_GetItemText(list_, row, 1, text, MAX_PATH);
            if (text == name) return row;
        }
        return -1;
    }
    int Rows() const { return ListView_GetItemCount(list_); }
    // A click on the button as a person makes it.
    void ClickRefresh() const {
        const HWND button = ::GetDlgItem(page_, IDC_REFRESH);
        ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    bool RefreshTurns() const { return AskCursor(::GetDlgItem(page_, IDC_REFRESH)) == Cursor(IDC_WAIT); }
    static HCURSOR Cursor(LPCWSTR standard) { return ::LoadCursorW(nullptr, standard); }
    // Pumps until the button has stopped turning; the loads seen by then.
    std::size_t LoadsWhenTheTurningStops() {
        EXPECT_TRUE(sink_.PumpUntil([&] { return !RefreshTurns(); }, 60000));
        return watch_.loads.size();
    }
    // How long the page took to handle the message, in milliseconds.
    ULONGLONG Timed(UINT message, WPARAM wParam, LPARAM lParam) const {
        const ULONGLONG start = ::GetTickCount64();
        ::SendMessageW(page_, message, wParam, lParam);
        return ::GetTickCount64() - start;
    }
    ULONGLONG TimedCommand(int id) const {
        return Timed(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(page_, id)));
    }
    RECT CellRect(int row, int column) const {
        RECT cell{};
        ListView_GetSubItemRect(list_, row, column, LVIR_BOUNDS, &cell);
        return cell;
    }

    StoreSandbox store_;
    TempFolder folder_;
    MessageSink sink_;
    PlugIn plugIn_;
    HWND sheet_ = nullptr;
    HWND page_ = nullptr;
    HWND list_ = nullptr;
    LoadWatch watch_;
};

TEST_F(PageTest, ClosingThePageDuringALoadLeavesNothingOfThePlugInRunning) {
    store_.WriteStore(StoreBody(ManyMissingItems(20000)));
    ShowPage();
    // The page asks for its first load as it starts; let the load begin.
    sink_.PumpFor(300);
    CloseSheet();
    EXPECT_EQ(plugIn_.Call("DllCanUnloadNow"), S_OK) << "the sheet released the page";
    plugIn_.Unload();
    EXPECT_EQ(::GetModuleHandleW(L"ZTFileProtect.dll"), nullptr);
    // A thread still in the plug-in's code would now fault and end the test program.
    sink_.PumpFor(1500);
}

// The button turns for a click of the user's, with the wait cursor, until the load the last
// click asked for has ended and 200 ms more; the page's own loads and a thread's leave it.
TEST_F(PageTest, TheRefreshButtonTurnsUntilTheLoadOfTheLastClickHasEnded) {
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(MissingItem(1), 1));
    const HWND button = ::GetDlgItem(page_, IDC_REFRESH);
    EXPECT_EQ(AskCursor(button), Cursor(IDC_HAND)) << "the first load is the page's own";
    RequestLoad(true);
    EXPECT_EQ(AskCursor(button), Cursor(IDC_HAND)) << "a thread's request";

    // A click, then another within 200 ms of its load's end, to a store written anew, which
    // is read whole and so takes a while.
    const auto writeLongStore = [&] {
        ::Sleep(20);
        store_.WriteStore(StoreBody(RepeatedItem(1, kLongLoadItems)));
    };
    const std::size_t first = watch_.loads.size();
    ClickRefresh();
    ASSERT_TRUE(sink_.PumpUntil([&] { return watch_.loads.size() > first; }, 20000));
    EXPECT_TRUE(RefreshTurns());
    writeLongStore();
    ClickRefresh();
    ASSERT_GE(LoadsWhenTheTurningStops(), first + 2)
        << "the button stopped before the second click's load ended";
    const ULONGLONG after = ::GetTickCount64() - watch_.loads[first + 1].at;
    EXPECT_GE(after, 180u) << "it goes on for 200 ms after the load";
    EXPECT_LT(after, 3000u);

    // A click during a load the page asked for itself, which the click cuts short.
    writeLongStore();
    const std::size_t during = watch_.loads.size();
    RequestLoad(false);
    sink_.PumpFor(150);
    ASSERT_EQ(watch_.loads.size(), during) << "the load is under way";
    ClickRefresh();
    ASSERT_GE(LoadsWhenTheTurningStops(), during + 2)
        << "the button stopped when the load it cut short ended";
    EXPECT_GE(::GetTickCount64() - watch_.loads[during + 1].at, 180u);
}

// However long a load holds the page's list, Encrypt, a link and Remove answer at once: they
// act on the rows, and what they change in the store the refresh thread does.
TEST_F(PageTest, ThePagesActionsAnswerAtOnceWhileALoadHoldsTheList) {
    const RegistryBackup fileType(HKEY_CLASSES_ROOT, L"Tapwise Crypto");
    // No program to start: Encrypt does nothing but look at the rows.
    DeleteRegistryTree(HKEY_CLASSES_ROOT, L"Tapwise Crypto");
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(MissingItem(1) + MissingItem(2), 2));
    ListView_SetItemState(list_, -1, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    ::Sleep(20);
    store_.WriteStore(StoreBody(MissingItem(1) + MissingItem(2) + RepeatedItem(3, kHeldLoadItems)));
    const std::size_t loads = watch_.loads.size();
    RequestLoad(false);
    sink_.PumpFor(200);

    EXPECT_LT(TimedCommand(IDC_ENCRYPT), kAtOnceMs);
    UiDriver cancel(L"--title \"Locate missing1.txt\" --click 2 --gone");
    // A click on a missing row's link, as the list reports it.
    NMITEMACTIVATE click{};
    click.hdr = {list_, IDC_ITEMS, static_cast<UINT>(NM_CLICK)};
    click.iItem = RowOf(L"missing1.txt");
    click.iSubItem = 2;
    const RECT cell = CellRect(click.iItem, 2);
    click.ptAction = {cell.right - 5, (cell.top + cell.bottom) / 2};
    EXPECT_LT(Timed(WM_NOTIFY, IDC_ITEMS, reinterpret_cast<LPARAM>(&click)), kAtOnceMs)
        << "the picker came and went";
    UiDriver yes(L"--title \"Remove from the List\" --click 6 --gone");
    EXPECT_LT(TimedCommand(IDC_REMOVE), kAtOnceMs) << "the question came and was answered";
    EXPECT_EQ(watch_.loads.size(), loads) << "the load ended before the actions did: make it longer";
    EXPECT_EQ(cancel.Finish(), 0u);
    EXPECT_EQ(yes.Finish(), 0u);
}

TEST_F(PageTest, InfoTipsSayWhenAnItemWasDecryptedOrWhereAMissingOneWasAndItsLinkShowsTheHand) {
    // Ten past two in the afternoon and midnight, both in local time.
    const auto seconds = [](WORD hour, WORD minute) {
        SYSTEMTIME local{2024, 3, 0, 5, hour, minute, 0, 0};
        SYSTEMTIME utc{};
        FILETIME time{};
        EXPECT_TRUE(::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc));
        EXPECT_TRUE(::SystemTimeToFileTime(&utc, &time));
        return core::FileTimeToUnixSeconds(
            ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart);
    };
    for (const wchar_t* name : {L"afternoon.txt", L"midnight.txt", L"unknown.txt"})
        WriteFileBytes(folder_.Path(name), PatternBytes(10));
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(Item(folder_.Path(), "afternoon.txt", false, seconds(14, 10)) +
                                               Item(folder_.Path(), "midnight.txt", false, seconds(0, 0)) +
                                               Item(folder_.Path(), "unknown.txt") + MissingItem(1),
                                           4));
    SYSTEMTIME when{2024, 3, 2, 5, 14, 10, 0, 0};
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &when, nullptr, date, 128);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &when, nullptr, time, 128);
    const std::wstring format = plugIn_.String(IDS_DECRYPTED_TIP);
    const std::size_t conversion = format.find(L"%s");
    ASSERT_NE(conversion, std::wstring::npos);
    const auto tip = [&](const std::wstring& text) {
        return std::wstring(format).replace(conversion, 2, text);
    };
    const auto infoTip = [&](const wchar_t* name) {
        wchar_t text[256] = L"unchanged";
        NMLVGETINFOTIPW request{};
        request.hdr = {list_, IDC_ITEMS, LVN_GETINFOTIPW};
        request.pszText = text;
        request.cchTextMax = 256;
        request.iItem = RowOf(name);
        ::SendMessageW(page_, WM_NOTIFY, IDC_ITEMS, reinterpret_cast<LPARAM>(&request));
        return std::wstring(text);
    };
    EXPECT_EQ(infoTip(L"afternoon.txt"), tip(std::wstring(date) + L", " + time));
    EXPECT_EQ(infoTip(L"midnight.txt"), tip(date)) << "a time of midnight was never recorded";
    EXPECT_EQ(infoTip(L"unknown.txt"), L"");
    EXPECT_EQ(infoTip(L"missing1.txt"), L"C:\\nowhere\\at all") << "where it was";

    // The hand shows over the link of a missing row only.
    const auto cursorAt = [&](const wchar_t* name, int column, bool rightEnd) {
        const RECT cell = CellRect(RowOf(name), column);
        POINT point{rightEnd ? cell.right - 5 : cell.left + 3, (cell.top + cell.bottom) / 2};
        ::ClientToScreen(list_, &point);
        ::SetCursorPos(point.x, point.y);
        return AskCursor(list_);
    };
    EXPECT_EQ(cursorAt(L"missing1.txt", 2, true), Cursor(IDC_HAND));
    EXPECT_NE(cursorAt(L"missing1.txt", 2, false), Cursor(IDC_HAND)) << "on the \"not found\" text";
    EXPECT_NE(cursorAt(L"missing1.txt", 1, true), Cursor(IDC_HAND));
    EXPECT_NE(cursorAt(L"afternoon.txt", 2, true), Cursor(IDC_HAND));
}

// The image list holds the file and folder images, then each application's icon once; a
// rebuild of the list takes the icons of the last one away first, and a change of DPI makes
// them again for the rows as they are.
TEST_F(PageTest, FilesShowTheIconOfTheirApplicationSharedAndRebuildsKeepTheImageCount) {
    // The plug-in itself carries an icon: the application recorded for one name, and the
    // program that opens another name's type.
    const std::wstring program = plugIn_.Path();
    const std::wstring applications = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\\Applications";
    const RegistryBackup recorded(HKEY_LOCAL_MACHINE, applications);
    const RegistryBackup extension(HKEY_CLASSES_ROOT, L".ztpagetest");
    const RegistryBackup type(HKEY_CLASSES_ROOT, L"ZtPageTestFile");
    SetRegistryString(HKEY_LOCAL_MACHINE, applications, L"ICONIC.TXT", L"\"" + program + L"\",0");
    SetRegistryString(HKEY_CLASSES_ROOT, L".ztpagetest", nullptr, L"ZtPageTestFile");
    SetRegistryString(HKEY_CLASSES_ROOT, L"ZtPageTestFile\\shell\\open\\command", nullptr,
                      L"\"" + program + L"\" \"%1\"");
    for (const wchar_t* name : {L"iconic.txt", L"typed.ztpagetest", L"plain.ztnothing"})
        WriteFileBytes(folder_.Path(name), PatternBytes(10));
    ::CreateDirectoryW(folder_.Path(L"folder").c_str(), nullptr);
    const std::string items = Item(folder_.Path(), "iconic.txt") + Item(folder_.Path(), "typed.ztpagetest") +
                              Item(folder_.Path(), "plain.ztnothing") + Item(folder_.Path(), "folder", true);
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(items, 4));
    const HIMAGELIST images = ListView_GetImageList(list_, LVSIL_SMALL);
    const auto image = [&](const wchar_t* name) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = RowOf(name);
        ListView_GetItem(list_, &item);
        return item.iImage;
    };
    for (int rebuild = 0; rebuild < 3; ++rebuild) {
        SCOPED_TRACE(rebuild);
        EXPECT_EQ(image(L"plain.ztnothing"), 0) << "a file without a known application";
        EXPECT_EQ(image(L"folder"), 1);
        EXPECT_EQ(image(L"iconic.txt"), 2);
        EXPECT_EQ(image(L"typed.ztpagetest"), 2) << "the same icon is added once";
        EXPECT_EQ(::ImageList_GetImageCount(images), 3);
        // A file written anew reloads the whole list.
        ::Sleep(20);
        store_.WriteStore(StoreBody(items));
        ASSERT_NO_FATAL_FAILURE(RequestLoad(true));
        ASSERT_TRUE(watch_.loads.back().changed);
    }
    // A change of DPI makes the images afresh and keeps the rows, their boxes and their icons.
    const int iconic = RowOf(L"iconic.txt");
    ListView_SetItemState(list_, iconic, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    ::SendMessageW(page_, WM_DPICHANGED_AFTERPARENT, 0, 0);
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(ListView_GetItemState(list_, iconic, LVIS_STATEIMAGEMASK),
              static_cast<UINT>(INDEXTOSTATEIMAGEMASK(2)));
    EXPECT_EQ(image(L"typed.ztpagetest"), 2);
    EXPECT_EQ(::ImageList_GetImageCount(ListView_GetImageList(list_, LVSIL_SMALL)), 3);
}

// The height of the text the list draws its rows with.
int ListTextHeight(HWND list) {
    const HDC dc = ::GetDC(list);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(list, dc);
    return metrics.tmHeight;
}

RECT RectIn(HWND parent, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// At whatever DPI the page is drawn (the screen's; ZT_EXPECTED_DPI names the one it must be):
// a row holds the list's text and its check box, the rows' images are the pictures drawn for
// that DPI, the check column holds the box with room beside it, and the refresh button holds
// its face and stays clear of the list below it.
TEST_F(PageTest, EverySizeOfThePageFollowsItsDpi) {
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(Item(folder_.Path(), "file.txt"), 1));
    const int dpi = WindowDpi(page_);
    if (const char* expected = std::getenv("ZT_EXPECTED_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected));
    }
    int checkWidth = 0;
    int checkHeight = 0;
    ASSERT_TRUE(
        ::ImageList_GetIconSize(ListView_GetImageList(list_, LVSIL_STATE), &checkWidth, &checkHeight));
    RECT row{};
    ASSERT_TRUE(ListView_GetItemRect(list_, 0, &row, LVIR_BOUNDS));
    EXPECT_GE(row.bottom - row.top, ListTextHeight(list_));
    EXPECT_GE(row.bottom - row.top, checkHeight + 2) << "rows touching row to row";
    int imageWidth = 0;
    int imageHeight = 0;
    ASSERT_TRUE(
        ::ImageList_GetIconSize(ListView_GetImageList(list_, LVSIL_SMALL), &imageWidth, &imageHeight));
    const int picture = 16 * PicturePercent(dpi) / 100;
    EXPECT_EQ(imageWidth, picture);
    EXPECT_EQ(imageHeight, picture);
    EXPECT_GE(row.bottom - row.top, picture);
    EXPECT_GE(ListView_GetColumnWidth(list_, 0), checkWidth + core::Scaled(8, dpi));
    const HWND refresh = ::GetDlgItem(page_, IDC_REFRESH);
    const RECT button = RectIn(page_, refresh);
    EXPECT_EQ(button.right - button.left, 22 * PicturePercent(dpi) / 100);
    EXPECT_EQ(button.bottom - button.top, 20 * PicturePercent(dpi) / 100);
    EXPECT_LE(button.bottom, RectIn(page_, list_).top);
}

// The same in a process started with the screen at 144 DPI, set for it and put back after.
TEST_F(PageTest, At144DpiEverySizeOfThePageFollows) {
    const wchar_t desktop[] = L"Control Panel\\Desktop";
    const RegistryValueBackup logPixels(HKEY_CURRENT_USER, desktop, L"LogPixels");
    SetRegistryDword(HKEY_CURRENT_USER, desktop, L"LogPixels", 144);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::SetEnvironmentVariableW(L"ZT_EXPECTED_DPI", L"144");
    ProcessRun run(Quoted(self) + L" --gtest_filter=PageTest.EverySizeOfThePageFollowsItsDpi", true);
    ::SetEnvironmentVariableW(L"ZT_EXPECTED_DPI", nullptr);
    std::string output;
    EXPECT_EQ(run.Finish(output, 60000), 0u) << output;
}

}  // namespace

namespace {

struct OwnedSearch {
    HWND owner;
    HWND tip;
};

// The tip window whose first tool is the owner's.
BOOL CALLBACK FindOwned(HWND window, LPARAM found) {
    auto& search = *reinterpret_cast<OwnedSearch*>(found);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    if (std::wstring(name) == TOOLTIPS_CLASSW &&
        ::SendMessageW(window, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)) &&
        tool.uId == reinterpret_cast<UINT_PTR>(search.owner))
        search.tip = window;
    return TRUE;
}

// The windows the page makes itself are made under the plug-in's own manifest, so they draw
// in the visual style whatever the host's manifest says; the test's sheet, made without, is
// not. (The page and its template's controls are made by the host's sheet, which Windows
// tells to use the plug-in's manifest through the page's description; Wine's sheet does not
// read it.)
TEST_F(PageTest, TheWindowsThePageMakesAreMadeWithCommonControls6) {
    const CWindowCreationRecorder recorder;
    // Without a store the page shows its start-up panel.
    ::DeleteFileW(store_.StoreFile().c_str());
    ASSERT_NO_FATAL_FAILURE(ShowPage());
    EXPECT_EQ(CWindowCreationRecorder::MadeWithVersion6(sheet_), 0);
    // The start-up panel, a dialog of its own on the page, and its controls.
    HWND panel = nullptr;
    for (HWND child = ::GetWindow(page_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        if (std::wstring(name) == L"#32770") panel = child;
    }
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(CWindowCreationRecorder::MadeWithVersion6(panel), 1);
    int controls = 0;
    for (HWND child = ::GetWindow(panel, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT), ++controls)
        EXPECT_EQ(CWindowCreationRecorder::MadeWithVersion6(child), 1) << ::GetDlgCtrlID(child);
    EXPECT_GE(controls, 2);
    // The refresh button's tip, which the page makes itself as it starts.
    OwnedSearch search{::GetDlgItem(page_, IDC_REFRESH), nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindOwned, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(search.tip, nullptr);
    EXPECT_EQ(CWindowCreationRecorder::MadeWithVersion6(search.tip), 1);
}

}  // namespace
