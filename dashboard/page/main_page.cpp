#include "dashboard/page/main_page.h"

#include <string>

#include "dashboard/resources/resource_ids.h"
#include "text/res_string.h"
#include "text/resource_module.h"
#include "win/windows_version.h"

namespace {

// LVCFMT_FIXED_WIDTH, which list views honour from Vista on and older ones ignore.
constexpr int kFixedWidth = 0x100;

// A row's item data: a copy of its item's key, freed when the list deletes the row.
std::wstring* RowKey(LPARAM data) {
    return reinterpret_cast<std::wstring*>(data);
}

void InsertColumn(HWND list, int index, int width, int format, const std::wstring& text) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
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
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<CMainPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->OnInitDialog(window);
        return FALSE;
    }
    auto* page = reinterpret_cast<CMainPage*>(::GetWindowLongPtrW(window, DWLP_USER));
    return page && page->OnMessage(message, wParam, lParam);
}

bool CMainPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            OnDestroy();
            return false;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_REFRESH) return false;
            ::SetEvent(shared_.refreshEvent.get());
            return true;
        case WM_ITEMS_LOADED:
            OnItemsLoaded(wParam != 0);
            return true;
        default:
            return false;
    }
}

void CMainPage::OnInitDialog(HWND window) {
    shared_.window = window;
    list_ = ::GetDlgItem(window, IDC_ITEMS);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_INFOTIP);
    AddColumns();
    refreshThread_->Resume();
    dataChangedThread_->Resume();
    if (CDecryptedItems::GetStoreFileInfo(nullptr, nullptr)) {
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
    }
}

// Check boxes, name (two fifths of the width) and location (the rest, leaving room for a
// vertical scroll bar).
void CMainPage::AddColumns() {
    RECT client{};
    ::GetClientRect(list_, &client);
    const int checkWidth = IsWindowsVistaOrLater() ? 30 : 35;
    const int nameWidth = ::MulDiv(client.right, 40, 100);
    const int locationWidth = client.right - checkWidth - nameWidth - ::GetSystemMetrics(SM_CXVSCROLL);
    InsertColumn(list_, 0, checkWidth, LVCFMT_CENTER | LVCFMT_COL_HAS_IMAGES | kFixedWidth, L"");
    InsertColumn(list_, 1, nameWidth, LVCFMT_LEFT, LoadResString(IDS_COLUMN_NAME));
    InsertColumn(list_, 2, locationWidth, LVCFMT_LEFT, LoadResString(IDS_COLUMN_LOCATION));
}

void CMainPage::OnDestroy() {
    ListView_DeleteAllItems(list_);
    ::SetEvent(shared_.stopEvent.get());
}

// A map that a new load holds already is shown after that load, which posts again.
void CMainPage::OnItemsLoaded(bool changed) {
    rebuildPending_ = rebuildPending_ || changed;
    if (!rebuildPending_) return;
    if (const std::optional<CGuardedItems::Access> items = shared_.items.TryLock()) {
        RebuildList(**items);
        rebuildPending_ = false;
    }
}

bool CMainPage::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == list_ && header.code == LVN_DELETEITEM) {
        delete RowKey(reinterpret_cast<const NMLISTVIEW&>(header).lParam);
        return false;
    }
    // Nothing to apply: the page's settings are stored as they change.
    if (header.code <= PSN_FIRST && header.code >= PSN_LAST) {
        ::SetWindowLongPtrW(shared_.window, DWLP_MSGRESULT, 0);
        return true;
    }
    return false;
}

void CMainPage::RebuildList(const CDecryptedItems& items) {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    for (const auto& [key, item] : items) AddRow(*item);
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
}

void CMainPage::AddRow(const CDecryptedItem& item) {
    auto key = std::make_unique<std::wstring>(item.Key());
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = ListView_GetItemCount(list_);
    row.pszText = const_cast<wchar_t*>(L"");
    row.lParam = reinterpret_cast<LPARAM>(key.get());
    const int index = ListView_InsertItem(list_, &row);
    if (index < 0) return;
    key.release();
    ListView_SetItemText(list_, index, 1, const_cast<wchar_t*>(item.Name().c_str()));
    const std::wstring location = item.Exists() ? item.Path() : LoadResString(IDS_NOT_FOUND);
    ListView_SetItemText(list_, index, 2, const_cast<wchar_t*>(location.c_str()));
}
