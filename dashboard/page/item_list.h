#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "dashboard/page/item_row.h"
#include "dashboard/rules/icon_location.h"
#include "store/decrypted_items.h"
#include "ui/window_subclass.h"
#include "win/unique_handle.h"

// The page's list of decrypted items: one row per item with a check box, its image, its name
// and its folder, or "not found" and a link for an item that is not where it was. Each row
// keeps a copy of its item's key. The check box in the header checks or unchecks every row;
// the Remove and Encrypt buttons are enabled while a row is checked.
class CItemList final : public CWindowSubclass {
public:
    // A cell of the list; row or column -1 when the point is on none.
    struct Cell {
        int row = -1;
        int column = -1;
    };

    // The height of the page's list's rows at its DPI: its text or its images, whichever is
    // taller. Asked for before the page is set up.
    static void MeasureRow(HWND page, MEASUREITEMSTRUCT& measure);

    // Takes over the list of the page: check boxes and info tips, its columns, the header's
    // check box, and what ApplyDpi sets.
    void Setup(HWND list, HWND page);
    // Sizes to the list's DPI: the rows' images, the columns for its width, the header's
    // margin, the fonts rows are drawn with and the rows' height.
    void ApplyDpi();

    // Refills the list from the map, in the map's order, every box unchecked.
    void Rebuild(const CDecryptedItems& items);
    void DeleteRows();

    // A row's item as the list was built from it; null for a row that has none.
    const CDecryptedItem* RowItem(int row) const;
    int RowCount() const;
    bool IsChecked(int row) const;

    Cell CellAt(POINT client) const;
    // Whether the point lies on the link of the row, right of its "not found" text.
    bool OnLink(int row, POINT client) const;

    // Notifications of the list and its header, which the page passes on.
    void OnRowDeleted(const NMLISTVIEW& row) const;
    // Whether a change of a row's state is to be refused: the list's own toggle of a box when
    // the mouse presses on it, which the page's click handling does once instead.
    bool RefusesChange(const NMLISTVIEW& change) const;
    void OnRowChanged(const NMLISTVIEW& change) const;
    // A click anywhere in the first column toggles that row's box.
    void ToggleRow(int row);
    // A click on the header's box checks or unchecks every row.
    void ToggleAll();
    void OnDraw(const DRAWITEMSTRUCT& draw);
    // After a column's width changed: the space below the last row is drawn afresh.
    void OnColumnResized() const;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void InsertColumns() const;
    void SizeColumns() const;
    void SetupHeader() const;
    void AddRow(const CDecryptedItem& item, int image);
    int ImageFor(const CDecryptedItem& item);
    void ReplaceRowImages();
    void SetCheck(int row, int stateImage);
    void SetHeaderCheck(bool checked) const;
    // Header box and buttons after the boxes changed.
    void UpdateCheckSummary() const;
    // Before the list sees a press in the first column of a selected row: the other selected
    // rows get the state the pressed row is about to get.
    void MatchSelectedRows(POINT client);
    // Delete and Alt+Enter act as the Remove and Encrypt buttons.
    bool PressButtonFor(UINT message, WPARAM key, LPARAM flags) const;

    HWND page_ = nullptr;
    HWND header_ = nullptr;
    RowLook look_;
    FontHandle linkFont_;
    // The images the bitmap brings; icons of files follow them, made afresh at each rebuild.
    int baseImages_ = 0;
    std::vector<std::pair<core::IconLocation, int>> iconImages_;
    int notFoundWidth_ = 0;
    bool mousePressing_ = false;
    bool settingChecks_ = false;
    // Set while every row's box is set at once; the summary follows once at the end.
    bool settingAll_ = false;
};
