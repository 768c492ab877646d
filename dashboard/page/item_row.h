#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

// What every row is drawn with.
struct RowLook {
    HIMAGELIST checkBoxes = nullptr;
    HIMAGELIST images = nullptr;
    HFONT font = nullptr;
    HFONT linkFont = nullptr;
    std::wstring linkText;
    int dpi = 96;
};

// Draws one row of the decrypted-items list: the check box centred in the first column, the
// image and name in the second, the location in the third; a row marked as cut (an item not
// found) gets the link after its text. The row is highlighted while selected in a list that
// has the focus. Gives the width of a missing row's location text, 0 for any other row.
int DrawItemRow(HWND list, const DRAWITEMSTRUCT& draw, const RowLook& look);
