#include "dashboard/page/item_list.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "dashboard/page/item_icons.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard/rules/item_list_rules.h"
#include "text/res_string.h"
#include "text/resource_module.h"
#include "ui/image_list.h"
#include "win/window_dpi.h"
#include "win/windows_version.h"

namespace {

// LVCFMT_FIXED_WIDTH and HDF_FIXEDWIDTH, which list views and headers honour from Vista on
// and older ones ignore.
constexpr int kFixedWidth = 0x100;
// The rows' images at 96 DPI.
constexpr int kRowImage = 16;
// The rows' own images: a file that has no icon of its own, and a folder.
constexpr int kFileImage = 0;
constexpr int kFolderImage = 1;

void InsertColumn(HWND list, int index, int width, int format, const std::wstring& text) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

int StateImage(UINT state) {
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

HFONT ListFont(HWND list) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

int TextHeight(HWND list) {
    const HDC dc = ::GetDC(list);
    if (!dc) return 0;
    const HGDIOBJ previous = ::SelectObject(dc, ListFont(list));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, L"Ag", 2, &size);
    ::SelectObject(dc, previous);
    ::ReleaseDC(list, dc);
    return size.cy;
}

// The state images' height: the list's own once it has check boxes, else the small icons' its
// check boxes will have.
int StateImageHeight(HWND list, int dpi) {
    int width = 0;
    int height = 0;
    if (image_list::ImageSize(ListView_GetImageList(list, LVSIL_STATE), width, height)) return height;
    return SystemMetricAt(SM_CYSMICON, dpi);
}

FontHandle UnderlinedFont(HFONT font) {
    LOGFONTW description{};
    if (!::GetObjectW(font, sizeof description, &description)) return {};
    description.lfUnderline = TRUE;
    return FontHandle(::CreateFontIndirectW(&description));
}

}  // namespace

void CItemList::MeasureRow(HWND page, MEASUREITEMSTRUCT& measure) {
    const HWND list = ::GetDlgItem(page, IDC_ITEMS);
    const int dpi = WindowDpi(list ? list : page);
    const int image = std::max(core::Scaled(kRowImage, dpi), StateImageHeight(list, dpi));
    measure.itemHeight = static_cast<UINT>(core::RowHeight(TextHeight(list), image, dpi));
}

void CItemList::Setup(HWND list, HWND page) {
    page_ = page;
    Attach(list);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_INFOTIP);
    look_.checkBoxes = ListView_GetImageList(list, LVSIL_STATE);
    look_.linkText = LoadResString(IDS_LOCATE_LINK);
    InsertColumns();
    ApplyDpi();
    UpdateCheckSummary();
}

void CItemList::ApplyDpi() {
    look_.dpi = WindowDpi(Window());
    const int percent = PicturePercent(look_.dpi);
    ImageListHandle images(image_list::LoadStrip(ResourceModule(), PictureAt(IDB_ITEM_IMAGES, percent),
                                                 kRowImage * percent / 100));
    baseImages_ = image_list::Count(images.get());
    iconImages_.clear();
    // The list frees the one it holds with itself; one it held before is the page's to free.
    look_.images = images.release();
    const ImageListHandle previous(ListView_SetImageList(Window(), look_.images, LVSIL_SMALL));
    ReplaceRowImages();
    look_.font = ListFont(Window());
    linkFont_ = UnderlinedFont(look_.font);
    look_.linkFont = linkFont_ ? linkFont_.get() : look_.font;
    SizeColumns();
    SetupHeader();
    // The font set again makes the list measure its rows again.
    ::SendMessageW(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(look_.font), TRUE);
}

// Each row's image again from the list's images of now, so that a change of DPI keeps the rows
// and their boxes.
void CItemList::ReplaceRowImages() {
    for (int row = 0; row < RowCount(); ++row) {
        const CDecryptedItem* item = RowItem(row);
        if (!item) continue;
        LVITEMW image{};
        image.mask = LVIF_IMAGE;
        image.iItem = row;
        image.iImage = ImageFor(*item);
        ListView_SetItem(Window(), &image);
    }
}

void CItemList::InsertColumns() const {
    InsertColumn(Window(), 0, 0, LVCFMT_CENTER | LVCFMT_COL_HAS_IMAGES | kFixedWidth, L"");
    InsertColumn(Window(), 1, 0, LVCFMT_LEFT, LoadResString(IDS_COLUMN_NAME));
    InsertColumn(Window(), 2, 0, LVCFMT_LEFT, LoadResString(IDS_COLUMN_LOCATION));
}

void CItemList::SizeColumns() const {
    RECT client{};
    ::GetClientRect(Window(), &client);
    int checkWidth = 0;
    int checkHeight = 0;
    image_list::ImageSize(look_.checkBoxes, checkWidth, checkHeight);
    const core::ItemColumnWidths widths =
        core::ItemColumns(client.right, SystemMetricAt(SM_CXVSCROLL, look_.dpi), checkWidth,
                          IsWindowsVistaOrLater(), look_.dpi);
    ListView_SetColumnWidth(Window(), 0, widths.check);
    ListView_SetColumnWidth(Window(), 1, widths.name);
    ListView_SetColumnWidth(Window(), 2, widths.location);
}

// The header shows a check box of the list's own kind over the first column. It carries the
// list's ID, so that what it tells the page arrives as the list's.
void CItemList::SetupHeader() const {
    const HWND header = ListView_GetHeader(Window());
    if (!header) return;
    ::SetWindowLongPtrW(header, GWLP_ID, IDC_ITEMS);
    image_list::SetBackground(look_.checkBoxes, CLR_NONE);
    Header_SetImageList(header, look_.checkBoxes);
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE | HDI_WIDTH;
    Header_GetItem(header, 0, &item);
    item.fmt |= HDF_CENTER | HDF_IMAGE | kFixedWidth;
    item.iImage = 0;
    int imageWidth = 0;
    int imageHeight = 0;
    image_list::ImageSize(look_.checkBoxes, imageWidth, imageHeight);
    const int checkWidth = ListView_GetColumnWidth(Window(), 0);
    if (IsWindowsVistaOrLater()) {
        Header_SetBitmapMargin(header, core::CentringMargin(checkWidth, imageWidth));
    } else {
        item.cxy = checkWidth;
    }
    Header_SetItem(header, 0, &item);
}

void CItemList::Rebuild(const CDecryptedItems& items) {
    ::SendMessageW(Window(), WM_SETREDRAW, FALSE, 0);
    DeleteRows();
    // The icons of the last rebuild go, so that the image list does not grow with each one.
    image_list::Truncate(look_.images, static_cast<UINT>(baseImages_));
    iconImages_.clear();
    for (const auto& [key, item] : items) AddRow(*item, ImageFor(*item));
    UpdateCheckSummary();
    ::SendMessageW(Window(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(Window(), nullptr, TRUE);
}

void CItemList::DeleteRows() {
    ListView_DeleteAllItems(Window());
    SetHeaderCheck(false);
}

// Files that share an icon share its image.
int CItemList::ImageFor(const CDecryptedItem& item) {
    if (item.IsFolder()) return kFolderImage;
    const std::optional<core::IconLocation> location = IconLocationFor(item);
    if (!location || !look_.images) return kFileImage;
    const auto known = std::find_if(iconImages_.begin(), iconImages_.end(),
                                    [&](const auto& entry) { return entry.first == *location; });
    if (known != iconImages_.end()) return known->second;
    const IconHandle icon = ExtractSmallIcon(*location);
    const int image = icon ? image_list::AddIcon(look_.images, icon.get()) : -1;
    if (image < 0) return kFileImage;
    iconImages_.emplace_back(*location, image);
    return image;
}

void CItemList::AddRow(const CDecryptedItem& item, int image) {
    auto copy = std::make_unique<CDecryptedItem>(item);
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    row.iItem = ListView_GetItemCount(Window());
    row.pszText = const_cast<wchar_t*>(L"");
    row.iImage = image;
    row.lParam = reinterpret_cast<LPARAM>(copy.get());
    const int index = ListView_InsertItem(Window(), &row);
    if (index < 0) return;
    copy.release();
    ListView_SetItemText(Window(), index, 1, const_cast<wchar_t*>(item.Name().c_str()));
    SetCheck(index, core::kUncheckedImage);
    const std::wstring location = item.Exists() ? item.Path() : LoadResString(IDS_NOT_FOUND);
    ListView_SetItemText(Window(), index, 2, const_cast<wchar_t*>(location.c_str()));
    if (!item.Exists()) ListView_SetItemState(Window(), index, LVIS_CUT, LVIS_CUT);
}

const CDecryptedItem* CItemList::RowItem(int row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ListView_GetItem(Window(), &item)) return nullptr;
    return reinterpret_cast<const CDecryptedItem*>(item.lParam);
}

int CItemList::RowCount() const {
    return ListView_GetItemCount(Window());
}

bool CItemList::IsChecked(int row) const {
    return StateImage(ListView_GetItemState(Window(), row, LVIS_STATEIMAGEMASK)) != core::kUncheckedImage;
}

CItemList::Cell CItemList::CellAt(POINT client) const {
    LVHITTESTINFO hit{};
    hit.pt = client;
    if (ListView_SubItemHitTest(Window(), &hit) < 0) return {};
    return {hit.iItem, hit.iSubItem};
}

bool CItemList::OnLink(int row, POINT client) const {
    RECT location{};
    if (!ListView_GetSubItemRect(Window(), row, 2, LVIR_BOUNDS, &location)) return false;
    return ::PtInRect(&location, client) && client.x > location.left + notFoundWidth_;
}

void CItemList::OnRowDeleted(const NMLISTVIEW& row) const {
    delete reinterpret_cast<CDecryptedItem*>(row.lParam);
}

bool CItemList::RefusesChange(const NMLISTVIEW& change) const {
    const bool boxChanges = (change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_STATEIMAGEMASK) !=
                                                                  (change.uOldState & LVIS_STATEIMAGEMASK);
    return boxChanges && mousePressing_ && !settingChecks_;
}

void CItemList::OnRowChanged(const NMLISTVIEW& change) const {
    if (settingAll_ || !(change.uChanged & LVIF_STATE) || StateImage(change.uOldState) == 0) return;
    if (StateImage(change.uNewState) != StateImage(change.uOldState)) UpdateCheckSummary();
}

void CItemList::ToggleRow(int row) {
    const int state = StateImage(ListView_GetItemState(Window(), row, LVIS_STATEIMAGEMASK));
    SetCheck(row, core::ToggledCheck(state));
    ListView_RedrawItems(Window(), row, row);
}

void CItemList::ToggleAll() {
    HDITEMW item{};
    item.mask = HDI_IMAGE;
    Header_GetItem(ListView_GetHeader(Window()), 0, &item);
    const bool check = item.iImage == 0;
    settingAll_ = true;
    for (int row = 0; row < RowCount(); ++row)
        SetCheck(row, check ? core::kCheckedImage : core::kUncheckedImage);
    settingAll_ = false;
    SetHeaderCheck(check);
    UpdateCheckSummary();
}

void CItemList::SetCheck(int row, int stateImage) {
    settingChecks_ = true;
    ListView_SetItemState(Window(), row, INDEXTOSTATEIMAGEMASK(stateImage), LVIS_STATEIMAGEMASK);
    settingChecks_ = false;
}

void CItemList::SetHeaderCheck(bool checked) const {
    const HWND header = ListView_GetHeader(Window());
    HDITEMW item{};
    item.mask = HDI_IMAGE;
    item.iImage = checked ? 1 : 0;
    Header_SetItem(header, 0, &item);
}

void CItemList::UpdateCheckSummary() const {
    int checked = 0;
    const int rows = RowCount();
    for (int row = 0; row < rows; ++row) checked += IsChecked(row) ? 1 : 0;
    SetHeaderCheck(core::AllRowsChecked(static_cast<std::size_t>(checked), static_cast<std::size_t>(rows)));
    ::EnableWindow(::GetDlgItem(page_, IDC_REMOVE), checked > 0);
    ::EnableWindow(::GetDlgItem(page_, IDC_ENCRYPT), checked > 0);
}

void CItemList::OnDraw(const DRAWITEMSTRUCT& draw) {
    const int missingWidth = DrawItemRow(Window(), draw, look_);
    if (missingWidth > 0) notFoundWidth_ = missingWidth;
}

void CItemList::OnColumnResized() const {
    RECT below{};
    ::GetClientRect(Window(), &below);
    const int rows = RowCount();
    RECT last{};
    if (rows > 0 && ListView_GetItemRect(Window(), rows - 1, &last, LVIR_BOUNDS)) below.top = last.bottom;
    ::InvalidateRect(Window(), &below, TRUE);
}

LRESULT CItemList::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP: {
            // A double click's second press is no click of the page's, so it checks nothing.
            if (message == WM_LBUTTONDOWN && !(wParam & MK_CONTROL)) {
                MatchSelectedRows(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            }
            mousePressing_ = true;
            const LRESULT result = Default(message, wParam, lParam);
            mousePressing_ = false;
            return result;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (PressButtonFor(message, wParam, lParam)) return 0;
            break;
        case WM_SYSCHAR:
            // The character Alt+Enter leaves would only make the system beep.
            if (wParam == VK_RETURN) return 0;
            break;
    }
    return Default(message, wParam, lParam);
}

void CItemList::MatchSelectedRows(POINT client) {
    const Cell cell = CellAt(client);
    if (cell.row < 0 || cell.column != 0) return;
    if (!(ListView_GetItemState(Window(), cell.row, LVIS_SELECTED) & LVIS_SELECTED)) return;
    const int next =
        core::ToggledCheck(StateImage(ListView_GetItemState(Window(), cell.row, LVIS_STATEIMAGEMASK)));
    for (int row = ListView_GetNextItem(Window(), -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(Window(), row, LVNI_SELECTED)) {
        if (row != cell.row) SetCheck(row, next);
    }
}

bool CItemList::PressButtonFor(UINT message, WPARAM key, LPARAM flags) const {
    constexpr LPARAM kAltDown = 1 << 29;
    int id = 0;
    if (message == WM_KEYDOWN && key == VK_DELETE) id = IDC_REMOVE;
    if (message == WM_SYSKEYDOWN && key == VK_RETURN && (flags & kAltDown)) id = IDC_ENCRYPT;
    const HWND button = id ? ::GetDlgItem(page_, id) : nullptr;
    if (!button || !::IsWindowVisible(button) || !::IsWindowEnabled(button)) return false;
    ::PostMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}
