#include "dashboard/page/main_page.h"

#include <windowsx.h>

#include <string>

#include "dashboard/page/info_tip.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard/rules/item_list_rules.h"
#include "text/message_box.h"
#include "text/online_help.h"
#include "text/res_string.h"
#include "text/resource_module.h"
#include "win/activation_context.h"
#include "win/window_dpi.h"

namespace {

// Polls for the decrypted-items file while the start-up panel is shown.
constexpr UINT_PTR kStartupTimer = 1;
constexpr UINT kStartupPollMs = 1000;
// The refresh button keeps turning this long after a load, so that a quick one is seen.
constexpr UINT kPlayAfterLoadMs = 200;
// The refresh button's images at 96 DPI.
constexpr int kRefreshImageWidth = 22;
// The online help's topic of the page.
constexpr int kPageHelpTopic = 26;

// What the start-up panel stands in for, in the order they are hidden and shown.
constexpr int kListControls[] = {IDC_ITEMS,       IDC_REFRESH, IDC_NOTIFY, IDC_NOTIFY_HOURS,
                                 IDC_NOTIFY_SPIN, IDC_ENCRYPT, IDC_REMOVE};

// The refresh button's face and animation for the page's DPI.
CPlayButton::Pictures RefreshPictures(HWND page) {
    const int percent = PicturePercent(WindowDpi(page));
    return {PictureAt(IDB_REFRESH, percent), PictureAt(IDB_REFRESH_ANIMATION, percent),
            kRefreshImageWidth * percent / 100};
}

bool StoreFileExists() {
    return CDecryptedItems::GetStoreFileInfo(nullptr, nullptr);
}

}  // namespace

CMainPage::CMainPage()
    : refreshThread_(std::make_unique<CRefreshThread>(shared_)),
      dataChangedThread_(std::make_unique<CWaitDataChangedThread>(shared_)) {}

CMainPage::~CMainPage() {
    // The window may never have been made, or its end not seen: the threads are told here too.
    ::SetEvent(shared_.stopEvent.get());
    refreshThread_->WaitForEnd();
    dataChangedThread_->WaitForEnd();
}

PROPSHEETPAGEW CMainPage::PageDescription() {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_USECALLBACK | PSP_HASHELP;
    // The host's sheet makes the page and its controls under the plug-in's own manifest, in
    // the system's visual style whatever the host's manifest says.
    if (const HANDLE context = ThisModuleActivationContext(); context != INVALID_HANDLE_VALUE) {
        page.dwFlags |= PSP_USEFUSIONCONTEXT;
        page.hActCtx = context;
    }
    page.hInstance = ResourceModule();
    page.pszTemplate = MAKEINTRESOURCEW(IDD_MAIN_PAGE);
    page.pfnDlgProc = DialogProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    page.pfnCallback = PageCallback;
    return page;
}

UINT CALLBACK CMainPage::PageCallback(HWND, UINT message, PROPSHEETPAGEW* page) {
    if (message == PSPCB_RELEASE) delete reinterpret_cast<CMainPage*>(page->lParam);
    return 1;
}

INT_PTR CALLBACK CMainPage::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Every window the page makes later (the start-up panel, the refresh button's tip, the
    // messages and the locate pickers) is made from here, under the plug-in's manifest too.
    const CActivationScope visualStyle;
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<CMainPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->OnInitDialog(window);
        return FALSE;
    }
    // The list asks for its rows' height while it is made, before the page knows its object.
    if (message == WM_MEASUREITEM && wParam == IDC_ITEMS) {
        CItemList::MeasureRow(window, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    }
    auto* page = reinterpret_cast<CMainPage*>(::GetWindowLongPtrW(window, DWLP_USER));
    return page && page->OnMessage(message, wParam, lParam);
}

bool CMainPage::Answer(LRESULT result) const {
    ::SetWindowLongPtrW(shared_.window, DWLP_MSGRESULT, result);
    return true;
}

bool CMainPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            OnDestroy();
            return false;
        case WM_SHOWWINDOW:
            OnShow(wParam != FALSE);
            return false;
        case WM_SETCURSOR:
            return OnSetCursor(reinterpret_cast<HWND>(wParam)) && Answer(TRUE);
        case WM_DRAWITEM:
            if (wParam != IDC_ITEMS) return false;
            list_.OnDraw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return true;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_TIMER:
            if (wParam != kStartupTimer) return false;
            OnStartupTimer();
            return true;
        case WM_DPICHANGED_AFTERPARENT:
            OnDpiChanged();
            return true;
        case WM_ITEMS_LOADED:
            OnItemsLoaded(wParam != 0, static_cast<std::uint32_t>(lParam));
            return true;
        case WM_EDIT_FAILED:
            OnEditFailed();
            return true;
        default:
            return false;
    }
}

void CMainPage::OnInitDialog(HWND window) {
    shared_.window = window;
    list_.Setup(::GetDlgItem(window, IDC_ITEMS), window);
    refreshTip_ = LoadResString(IDS_REFRESH_TIP);
    refresh_.Attach(::GetDlgItem(window, IDC_REFRESH), RefreshPictures(window), refreshTip_);
    reminder_.Init(window);
    refreshThread_->Resume();
    dataChangedThread_->Resume();
    if (StoreFileExists()) {
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
        return;
    }
    ShowListControls(false);
    startup_.Create(window);
}

// The sheet has moved to a screen of another DPI: the pictures, columns and rows follow.
void CMainPage::OnDpiChanged() {
    list_.ApplyDpi();
    refresh_.SetPictures(RefreshPictures(shared_.window));
}

void CMainPage::OnDestroy() {
    ::KillTimer(shared_.window, kStartupTimer);
    list_.DeleteRows();
    ::SetEvent(shared_.stopEvent.get());
}

// The start-up panel looks for the file whenever the page is shown, and then once a second
// until it is there or the page is hidden.
void CMainPage::OnShow(bool shown) {
    if (!startup_.Window()) return;
    if (!shown) {
        ::KillTimer(shared_.window, kStartupTimer);
    } else if (StoreFileExists()) {
        SwitchToList();
    } else {
        ::SetTimer(shared_.window, kStartupTimer, kStartupPollMs, nullptr);
    }
}

void CMainPage::OnStartupTimer() {
    if (!StoreFileExists()) return;
    ::KillTimer(shared_.window, kStartupTimer);
    SwitchToList();
}

void CMainPage::ShowListControls(bool show) const {
    for (int id : kListControls) ::ShowWindow(::GetDlgItem(shared_.window, id), show ? SW_SHOW : SW_HIDE);
}

void CMainPage::SwitchToList() {
    ShowListControls(true);
    ::ShowWindow(startup_.Window(), SW_HIDE);
    ::PostMessageW(shared_.window, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
}

bool CMainPage::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
        case IDC_REMOVE:
            if (code == BN_CLICKED) RemoveCheckedItems();
            return true;
        case IDC_ENCRYPT:
            if (code == BN_CLICKED) EncryptCheckedItems();
            return true;
        case IDC_NOTIFY:
            if (code == BN_CLICKED) reminder_.OnNotifyClicked();
            return true;
        case IDC_NOTIFY_HOURS:
            if (code == EN_CHANGE) reminder_.OnHoursChanged();
            return true;
        case IDC_REFRESH:
            OnRefreshRequest(control);
            return true;
        default:
            return false;
    }
}

// A click on the button turns it until the load it asks for is done, even when a load under
// way or one that has just ended posts its end first; the threads' requests come without the
// button and do not turn it.
void CMainPage::OnRefreshRequest(HWND button) {
    const std::uint32_t request = shared_.RequestLoad();
    if (!button) return;
    clickedLoad_ = request;
    refresh_.Play();
}

// A map that a new load holds already is shown after that load, which posts again.
void CMainPage::OnItemsLoaded(bool changed, std::uint32_t served) {
    if (core::LoadAnswers(served, clickedLoad_)) refresh_.StopAfter(kPlayAfterLoadMs);
    refresh_.SetTipText(refreshTip_);
    rebuildPending_ = rebuildPending_ || changed;
    if (!rebuildPending_) return;
    if (const std::optional<CGuardedItems::Access> items = shared_.items.TryLock()) {
        list_.Rebuild(**items);
        rebuildPending_ = false;
    }
}

// The store could not be read whole, so the edits were not made; the list may show items
// that have gone with it. The user is told, and the list shows the store as it is now.
void CMainPage::OnEditFailed() {
    rebuildPending_ = true;
    shared_.RequestLoad();
    ShowMessage(shared_.window, IDS_LIST_NOT_CHANGED, MB_ICONWARNING);
}

bool CMainPage::OnNotify(const NMHDR& header) {
    if (header.idFrom == IDC_NOTIFY_SPIN && header.code == UDN_DELTAPOS) {
        reminder_.OnHoursStep(reinterpret_cast<const NMUPDOWN&>(header));
        return Answer(FALSE);
    }
    if (header.idFrom == IDC_ITEMS) return OnListNotify(header);
    if (header.code == PSN_HELP) {
        OpenOnlineHelp(kPageHelpTopic, kOnlineHelpProductId);
        return Answer(0);
    }
    // Nothing to apply: the page's settings are stored as they change.
    if (header.code <= PSN_FIRST && header.code >= PSN_LAST) return Answer(0);
    return false;
}

bool CMainPage::OnListNotify(const NMHDR& header) {
    switch (header.code) {
        case LVN_DELETEITEM:
            list_.OnRowDeleted(reinterpret_cast<const NMLISTVIEW&>(header));
            return false;
        case LVN_ITEMCHANGING:
            return list_.RefusesChange(reinterpret_cast<const NMLISTVIEW&>(header)) && Answer(TRUE);
        case LVN_ITEMCHANGED:
            list_.OnRowChanged(reinterpret_cast<const NMLISTVIEW&>(header));
            return false;
        case NM_CLICK:
            OnListClick(reinterpret_cast<const NMITEMACTIVATE&>(header));
            return Answer(0);
        case LVN_COLUMNCLICK:
            if (reinterpret_cast<const NMLISTVIEW&>(header).iSubItem == 0) list_.ToggleAll();
            return false;
        case LVN_GETINFOTIPW:
            OnInfoTip(const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header)));
            return false;
        case HDN_ITEMCHANGEDW:
        case HDN_ITEMCHANGEDA:
            if (reinterpret_cast<const NMHEADERW&>(header).iButton == 0) list_.OnColumnResized();
            return false;
        default:
            return false;
    }
}

void CMainPage::OnListClick(const NMITEMACTIVATE& click) {
    const CItemList::Cell cell = list_.CellAt(click.ptAction);
    if (cell.row < 0) return;
    if (cell.column == 0) {
        list_.ToggleRow(cell.row);
    } else if (LinkUnder(cell.row, click.ptAction)) {
        LocateRowItem(cell.row);
    }
}

bool CMainPage::OnSetCursor(HWND over) {
    if (over != list_.Window()) return false;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(over, &cursor);
    const CItemList::Cell cell = list_.CellAt(cursor);
    if (cell.row < 0 || cell.column == 0 || !LinkUnder(cell.row, cursor)) return false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return true;
}

bool CMainPage::LinkUnder(int row, POINT client) const {
    const CDecryptedItem* item = list_.RowItem(row);
    return item && !item->Exists() && list_.OnLink(row, client);
}

void CMainPage::OnInfoTip(NMLVGETINFOTIPW& tip) {
    if (!tip.pszText || tip.cchTextMax <= 0) return;
    tip.pszText[0] = L'\0';
    if (const CDecryptedItem* item = list_.RowItem(tip.iItem)) {
        ::lstrcpynW(tip.pszText, InfoTipText(*item).c_str(), tip.cchTextMax);
    }
}
