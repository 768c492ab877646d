// The page from the real ZTFileProtect.dll in a property sheet on the test's own thread, as
// the dashboard shows it, for what only the page's thread can see: the list fills from the
// store on its own, closing the sheet while a load runs leaves nothing of the plug-in
// running, the page's actions answer at once while a load holds the list, the refresh button
// turns only for the user's clicks and until the load of the last one has ended, the cursor
// over a link, the rows' info tips and the rows' image list.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/text/unix_time.h"
#include "dashboard/dashboard_page_info.h"
#include "dashboard/page/page_shared.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard_test.h"
#include "process_run.h"
#include "ui/window_subclass.h"

namespace {

using GetPageFn = HRESULT(STDAPICALLTYPE*)(DashboardPageInfo**, UINT);
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();

// Watches the page's window for the ends of loads, with the time each arrived and whether
// the list changed.
class LoadWatch final : public CWindowSubclass {
public:
    struct Load {
        ULONGLONG at;
        bool changed;
    };
    const std::vector<Load>& Loads() const { return loads_; }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ITEMS_LOADED) loads_.push_back({::GetTickCount64(), wParam != 0});
        return Default(message, wParam, lParam);
    }
    std::vector<Load> loads_;
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

bool CursorIs(LPCWSTR standard) {
    return ::GetCursor() == ::LoadCursorW(nullptr, standard);
}

class PageTest : public ::testing::Test {
protected:
    void SetUp() override {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
    void TearDown() override {
        if (sheet_) ::DestroyWindow(sheet_);
    }

    // The plug-in's page in a sheet of its own; the descriptor is freed as the dashboard does.
    void ShowPage() {
        DashboardPageInfo* info = nullptr;
        ASSERT_EQ(plugIn_.Entry<GetPageFn>("ZTGetPropertyPageEx")(&info, 0), S_OK);
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
    // Shows the page and waits until its first load is shown.
    void ShowLoadedPage(int rows) {
        ASSERT_NO_FATAL_FAILURE(ShowPage());
        ASSERT_TRUE(sink_.PumpUntil([&] { return Rows() == rows && !watch_.Loads().empty(); }, 20000));
    }
    // The cursor the control asks for with the mouse over it.
    void AskCursor(HWND control) const {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        ::SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    std::wstring InfoTip(int row) const {
        wchar_t text[256] = L"unchanged";
        NMLVGETINFOTIPW tip{};
        tip.hdr = {list_, IDC_ITEMS, LVN_GETINFOTIPW};
        tip.pszText = text;
        tip.cchTextMax = 256;
        tip.iItem = row;
        ::SendMessageW(page_, WM_NOTIFY, IDC_ITEMS, reinterpret_cast<LPARAM>(&tip));
        return text;
    }
    int RowOf(const std::wstring& name) const {
        for (int row = 0; row < Rows(); ++row) {
            if (Cell(row, 1) == name) return row;
        }
        return -1;
    }
    int Rows() const { return ListView_GetItemCount(list_); }
    std::wstring Cell(int row, int column) const {
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(list_, row, column, text, MAX_PATH);
        return text;
    }
    std::wstring PlugInString(UINT id) const {
        wchar_t text[MAX_PATH] = {};
        ::LoadStringW(plugIn_.Module(), id, text, MAX_PATH);
        return text;
    }
    HRESULT CanUnloadNow() const { return plugIn_.Entry<CanUnloadFn>("DllCanUnloadNow")(); }
    // A click on the button as a person makes it.
    void ClickRefresh() const {
        const HWND button = ::GetDlgItem(page_, IDC_REFRESH);
        ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    bool RefreshTurns() const {
        AskCursor(::GetDlgItem(page_, IDC_REFRESH));
        return CursorIs(IDC_WAIT);
    }
    // Pumps until the button has stopped turning; the loads seen by then.
    std::size_t LoadsWhenTheTurningStops() {
        EXPECT_TRUE(sink_.PumpUntil([&] { return !RefreshTurns(); }, 60000));
        return watch_.Loads().size();
    }
    // How long the page took to handle the command, in milliseconds.
    ULONGLONG TimedCommand(int id) const {
        const ULONGLONG start = ::GetTickCount64();
        ::SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(page_, id)));
        return ::GetTickCount64() - start;
    }
    // A click on a missing row's link, as the list reports it; how long the page took.
    ULONGLONG TimedLinkClick(int row) const {
        RECT cell{};
        ListView_GetSubItemRect(list_, row, 2, LVIR_BOUNDS, &cell);
        NMITEMACTIVATE click{};
        click.hdr = {list_, IDC_ITEMS, static_cast<UINT>(NM_CLICK)};
        click.iItem = row;
        click.iSubItem = 2;
        click.ptAction = {cell.right - 5, (cell.top + cell.bottom) / 2};
        const ULONGLONG start = ::GetTickCount64();
        ::SendMessageW(page_, WM_NOTIFY, IDC_ITEMS, reinterpret_cast<LPARAM>(&click));
        return ::GetTickCount64() - start;
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

TEST_F(PageTest, TheListFillsFromTheStoreOnceThePageIsShown) {
    WriteFileBytes(folder_.Path(L"kept.txt"), PatternBytes(10));
    store_.WriteStore(StoreBody(FileItem(folder_.Path(), "kept.txt") + MissingItem(1)));
    ShowPage();
    ASSERT_TRUE(sink_.PumpUntil([&] { return Rows() == 2; }, 15000));
    for (int row = 0; row < 2; ++row) {
        if (Cell(row, 1) == L"kept.txt") {
            EXPECT_EQ(Cell(row, 2), folder_.Path());
        } else {
            EXPECT_EQ(Cell(row, 1), L"missing1.txt");
            EXPECT_EQ(Cell(row, 2), PlugInString(IDS_NOT_FOUND));
        }
    }
    ::DestroyWindow(sheet_);
    sheet_ = nullptr;
    EXPECT_EQ(CanUnloadNow(), S_OK) << "the sheet released the page";
}

TEST_F(PageTest, ClosingThePageDuringALoadLeavesNothingOfThePlugInRunning) {
    store_.WriteStore(StoreBody(ManyMissingItems(20000)));
    ShowPage();
    // The page asks for its first load as it starts; let the load begin.
    sink_.PumpFor(300);
    ::DestroyWindow(sheet_);
    sheet_ = nullptr;
    EXPECT_EQ(CanUnloadNow(), S_OK);
    plugIn_.Unload();
    EXPECT_EQ(::GetModuleHandleW(L"ZTFileProtect.dll"), nullptr);
    // A thread still in the plug-in's code would now fault and end the test program.
    sink_.PumpFor(1500);
}

TEST_F(PageTest, TheRefreshButtonTurnsForAClickUntilShortlyAfterTheLoadAndNotForThreads) {
    store_.WriteStore(StoreBody(ManyMissingItems(300)));
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(300));
    const HWND button = ::GetDlgItem(page_, IDC_REFRESH);
    AskCursor(button);
    EXPECT_TRUE(CursorIs(IDC_HAND)) << "the first load is the page's own and does not turn the button";

    // A request of a thread, as the data-changed thread posts it.
    const std::size_t before = watch_.Loads().size();
    ::PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
    ASSERT_TRUE(sink_.PumpUntil([&] { return watch_.Loads().size() > before; }, 20000));
    AskCursor(button);
    EXPECT_TRUE(CursorIs(IDC_HAND));

    // A click: the button turns, with the wait cursor, until 200 ms after the load.
    const std::size_t clicked = watch_.Loads().size();
    ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(sink_.PumpUntil([&] { return watch_.Loads().size() > clicked; }, 20000));
    AskCursor(button);
    EXPECT_TRUE(CursorIs(IDC_WAIT));
    ASSERT_TRUE(sink_.PumpUntil([&] { return AskCursor(button), CursorIs(IDC_HAND); }, 5000));
    const ULONGLONG stopped = ::GetTickCount64();
    const ULONGLONG loaded = watch_.Loads()[clicked].at;
    EXPECT_GE(stopped - loaded, 180u) << "it went on for 200 ms after the load";
    EXPECT_LT(stopped - loaded, 3000u);
}

// A click soon after a load has ended, or during a load, turns the button until the load the
// click asked for has ended, and 200 ms more; the end of the load before does not stop it.
TEST_F(PageTest, TheRefreshButtonTurnsUntilTheLoadOfTheLastClickHasEnded) {
    store_.WriteStore(StoreBody(MissingItem(1)));
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(1));
    // A store written anew is read whole, which takes a while.
    const auto writeLongStore = [&] {
        ::Sleep(20);
        store_.WriteStore(StoreBody(RepeatedItem(1, kLongLoadItems)));
    };

    // A click within 200 ms of a load's end.
    const std::size_t first = watch_.Loads().size();
    ClickRefresh();
    ASSERT_TRUE(sink_.PumpUntil([&] { return watch_.Loads().size() > first; }, 20000));
    writeLongStore();
    ClickRefresh();
    const std::size_t quickClick = LoadsWhenTheTurningStops();
    ASSERT_GE(quickClick, first + 2) << "the button stopped before the second click's load ended";
    EXPECT_GE(::GetTickCount64() - watch_.Loads()[first + 1].at, 180u);

    // A click during a load the page asked for itself, which the click cuts short.
    writeLongStore();
    const std::size_t during = watch_.Loads().size();
    ::PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
    sink_.PumpFor(150);
    ASSERT_EQ(watch_.Loads().size(), during) << "the load is under way";
    ClickRefresh();
    const std::size_t duringClick = LoadsWhenTheTurningStops();
    ASSERT_GE(duringClick, during + 2) << "the button stopped when the load it cut short ended";
    EXPECT_GE(::GetTickCount64() - watch_.Loads()[during + 1].at, 180u);
}

// However long a load holds the page's list, Encrypt, a link and Remove answer at once: they
// act on the rows, and what they change in the store the refresh thread does.
TEST_F(PageTest, ThePagesActionsAnswerAtOnceWhileALoadHoldsTheList) {
    const RegistryBackup fileType(HKEY_CLASSES_ROOT, L"Tapwise Crypto");
    // No program to start: Encrypt does nothing but look at the rows.
    DeleteRegistryTree(HKEY_CLASSES_ROOT, L"Tapwise Crypto");
    store_.WriteStore(StoreBody(MissingItem(1) + MissingItem(2)));
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(2));
    ListView_SetItemState(list_, -1, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
    // The link's place is known once the rows are drawn.
    ::UpdateWindow(list_);
    ::Sleep(20);
    store_.WriteStore(StoreBody(MissingItem(1) + MissingItem(2) + RepeatedItem(3, kHeldLoadItems)));
    const std::size_t loads = watch_.Loads().size();
    ::PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
    sink_.PumpFor(200);

    EXPECT_LT(TimedCommand(IDC_ENCRYPT), kAtOnceMs);
    UiDriver cancel(L"--title \"Locate missing1.txt\" --click 2 --gone");
    EXPECT_LT(TimedLinkClick(RowOf(L"missing1.txt")), kAtOnceMs) << "the picker came and went";
    UiDriver yes(L"--title \"Remove from the List\" --click 6 --gone");
    EXPECT_LT(TimedCommand(IDC_REMOVE), kAtOnceMs) << "the question came and was answered";
    EXPECT_EQ(watch_.Loads().size(), loads) << "the load ended before the actions did: make it longer";
    EXPECT_EQ(cancel.Finish(), 0u);
    EXPECT_EQ(yes.Finish(), 0u);
}

TEST_F(PageTest, TheHandShowsOverTheLinkOfAMissingRowOnly) {
    WriteFileBytes(folder_.Path(L"kept.txt"), PatternBytes(10));
    store_.WriteStore(StoreBody(FileItem(folder_.Path(), "kept.txt") + MissingItem(1)));
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(2));
    // The rows are drawn before the link's place is known.
    ::UpdateWindow(list_);
    const auto cursorAt = [&](int row, int column, bool rightEnd) {
        RECT cell{};
        ListView_GetSubItemRect(list_, row, column, LVIR_BOUNDS, &cell);
        POINT point{rightEnd ? cell.right - 5 : cell.left + 3, (cell.top + cell.bottom) / 2};
        ::ClientToScreen(list_, &point);
        ::SetCursorPos(point.x, point.y);
        AskCursor(list_);
        return ::GetCursor();
    };
    const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    EXPECT_EQ(cursorAt(RowOf(L"missing1.txt"), 2, true), hand);
    EXPECT_NE(cursorAt(RowOf(L"missing1.txt"), 2, false), hand) << "on the \"not found\" text";
    EXPECT_NE(cursorAt(RowOf(L"missing1.txt"), 1, true), hand);
    EXPECT_NE(cursorAt(RowOf(L"kept.txt"), 2, true), hand);
}

TEST_F(PageTest, InfoTipsSayWhenAnItemWasDecryptedOrWhereAMissingOneWas) {
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
    WriteFileBytes(folder_.Path(L"afternoon.txt"), PatternBytes(10));
    WriteFileBytes(folder_.Path(L"midnight.txt"), PatternBytes(10));
    WriteFileBytes(folder_.Path(L"unknown.txt"), PatternBytes(10));
    store_.WriteStore(StoreBody(Item(folder_.Path(), "afternoon.txt", false, seconds(14, 10)) +
                                Item(folder_.Path(), "midnight.txt", false, seconds(0, 0)) +
                                Item(folder_.Path(), "unknown.txt", false) + MissingItem(1)));
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(4));

    SYSTEMTIME when{2024, 3, 2, 5, 14, 10, 0, 0};
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &when, nullptr, date, 128);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &when, nullptr, time, 128);
    std::wstring format = PlugInString(IDS_DECRYPTED_TIP);
    const std::size_t conversion = format.find(L"%s");
    ASSERT_NE(conversion, std::wstring::npos);
    const auto tip = [&](const std::wstring& text) {
        return std::wstring(format).replace(conversion, 2, text);
    };

    EXPECT_EQ(InfoTip(RowOf(L"afternoon.txt")), tip(std::wstring(date) + L", " + time));
    EXPECT_EQ(InfoTip(RowOf(L"midnight.txt")), tip(date)) << "a time of midnight was never recorded";
    EXPECT_EQ(InfoTip(RowOf(L"unknown.txt")), L"");
    EXPECT_EQ(InfoTip(RowOf(L"missing1.txt")), L"C:\\nowhere\\at all") << "where it was";
}

TEST_F(PageTest, FilesShowTheIconOfTheirApplicationAndShareIt) {
    // The plug-in itself carries an icon: the application recorded for one name, and the
    // program that opens another name's type.
    const std::wstring program = plugIn_.Path();
    const RegistryBackup applications(HKEY_LOCAL_MACHINE,
                                      L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\\Applications");
    const RegistryBackup extension(HKEY_CLASSES_ROOT, L".ztpagetest");
    const RegistryBackup type(HKEY_CLASSES_ROOT, L"ZtPageTestFile");
    SetRegistryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\\Applications",
                      L"ICONIC.TXT", L"\"" + program + L"\",0");
    SetRegistryString(HKEY_CLASSES_ROOT, L".ztpagetest", nullptr, L"ZtPageTestFile");
    SetRegistryString(HKEY_CLASSES_ROOT, L"ZtPageTestFile\\shell\\open\\command", nullptr,
                      L"\"" + program + L"\" \"%1\"");
    for (const wchar_t* name : {L"iconic.txt", L"typed.ztpagetest", L"plain.ztnothing"}) {
        WriteFileBytes(folder_.Path(name), PatternBytes(10));
    }
    ::CreateDirectoryW(folder_.Path(L"folder").c_str(), nullptr);
    store_.WriteStore(
        StoreBody(FileItem(folder_.Path(), "iconic.txt") + FileItem(folder_.Path(), "typed.ztpagetest") +
                  FileItem(folder_.Path(), "plain.ztnothing") + Item(folder_.Path(), "folder", true)));
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(4));
    const auto image = [&](const wchar_t* name) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = RowOf(name);
        ListView_GetItem(list_, &item);
        return item.iImage;
    };
    EXPECT_EQ(image(L"plain.ztnothing"), 0) << "a file without a known application";
    EXPECT_EQ(image(L"folder"), 1);
    EXPECT_EQ(image(L"iconic.txt"), 2);
    EXPECT_EQ(image(L"typed.ztpagetest"), 2) << "the same icon is added once";
    EXPECT_EQ(::ImageList_GetImageCount(ListView_GetImageList(list_, LVSIL_SMALL)), 3);
}

TEST_F(PageTest, RebuildingTheListKeepsTheNumberOfRowImages) {
    WriteFileBytes(folder_.Path(L"one.txt"), PatternBytes(10));
    WriteFileBytes(folder_.Path(L"two.txt"), PatternBytes(10));
    ::CreateDirectoryW(folder_.Path(L"folder").c_str(), nullptr);
    const std::string body =
        StoreBody(FileItem(folder_.Path(), "one.txt") + FileItem(folder_.Path(), "two.txt") +
                  Item(folder_.Path(), "folder", true) + MissingItem(1));
    store_.WriteStore(body);
    ASSERT_NO_FATAL_FAILURE(ShowLoadedPage(4));
    const HIMAGELIST images = ListView_GetImageList(list_, LVSIL_SMALL);
    ASSERT_NE(images, nullptr);
    const int first = ::ImageList_GetImageCount(images);
    // The file and folder images, and at most one icon for the two text files.
    EXPECT_GE(first, 2);
    EXPECT_LE(first, 3);
    for (int rebuild = 0; rebuild < 3; ++rebuild) {
        // A file written anew reloads the whole list.
        ::Sleep(20);
        store_.WriteStore(body);
        const std::size_t before = watch_.Loads().size();
        ::PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
        ASSERT_TRUE(sink_.PumpUntil([&] { return watch_.Loads().size() > before; }, 20000));
        ASSERT_TRUE(watch_.Loads().back().changed);
        EXPECT_EQ(::ImageList_GetImageCount(images), first);
    }
}

}  // namespace
