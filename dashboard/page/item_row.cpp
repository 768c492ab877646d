#include "dashboard/page/item_row.h"

#include "dashboard/rules/item_list_rules.h"
#include "ui/image_list.h"

namespace {

struct Columns {
    RECT check;
    RECT name;
    RECT location;
};

// The row's three cells; columns keep their order, so each starts where the one before ends.
Columns RowColumns(HWND list, const RECT& row) {
    Columns columns{row, row, row};
    columns.check.right = row.left + ListView_GetColumnWidth(list, 0);
    columns.name.left = columns.check.right;
    columns.name.right = columns.name.left + ListView_GetColumnWidth(list, 1);
    columns.location.left = columns.name.right;
    columns.location.right = columns.location.left + ListView_GetColumnWidth(list, 2);
    return columns;
}

// The list answers with as much as fits, so the room grows until the text leaves some over.
std::wstring CellText(HWND list, int row, int column) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<std::size_t>(::SendMessageW(
            list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) return text.substr(0, length);
        text.resize(text.size() * 2);
    }
}

void DrawCentred(HIMAGELIST images, int image, HDC dc, const RECT& cell, bool centreAcross, UINT style) {
    int width = 0;
    int height = 0;
    if (image < 0 || !image_list::ImageSize(images, width, height)) return;
    const int x = centreAcross ? cell.left + (cell.right - cell.left - width) / 2 : cell.left;
    image_list::Draw(images, image, dc, x, cell.top + (cell.bottom - cell.top - height) / 2, style);
}

void DrawCellText(HDC dc, const std::wstring& text, RECT cell) {
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// "Not found", then the link one space further on, underlined.
int DrawMissingLocation(HDC dc, const std::wstring& text, RECT cell, const RowLook& look) {
    const int width = TextWidth(dc, text);
    DrawCellText(dc, text, cell);
    cell.left += width + TextWidth(dc, L" ");
    const HGDIOBJ previous = ::SelectObject(dc, look.linkFont);
    DrawCellText(dc, look.linkText, cell);
    ::SelectObject(dc, previous);
    return width;
}

}  // namespace

int DrawItemRow(HWND list, const DRAWITEMSTRUCT& draw, const RowLook& look) {
    const int row = static_cast<int>(draw.itemID);
    const HDC dc = draw.hDC;
    const bool highlighted = (draw.itemState & ODS_SELECTED) && ::GetFocus() == list;
    const UINT state = ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK | LVIS_CUT);
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    const Columns columns = RowColumns(list, draw.rcItem);

    DrawCentred(look.checkBoxes, static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1, dc, columns.check,
                true, ILD_TRANSPARENT);
    const RECT filled{columns.name.left, draw.rcItem.top, columns.location.right, draw.rcItem.bottom};
    ::FillRect(dc, &filled, ::GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    DrawCentred(look.images, item.iImage, dc, columns.name, false,
                ILD_TRANSPARENT | (highlighted ? ILD_BLEND50 : 0));

    const int inset = ::GetSystemMetrics(SM_CXDLGFRAME) + 1;
    const HGDIOBJ previousFont = ::SelectObject(dc, look.font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT name = columns.name;
    int imageWidth = 0;
    int imageHeight = 0;
    image_list::ImageSize(look.images, imageWidth, imageHeight);
    name.left += core::NameOffset(imageWidth, look.dpi);
    ::InflateRect(&name, -inset, 0);
    DrawCellText(dc, CellText(list, row, 1), name);
    RECT location = columns.location;
    ::InflateRect(&location, -inset, 0);
    const std::wstring locationText = CellText(list, row, 2);
    int missingWidth = 0;
    if (state & LVIS_CUT) {
        missingWidth = DrawMissingLocation(dc, locationText, location, look);
    } else {
        DrawCellText(dc, locationText, location);
    }
    ::SelectObject(dc, previousFont);
    return missingWidth;
}
