#include "ui/window_placement.h"

#include <algorithm>

namespace {

bool WorkArea(RECT& area) {
    return ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0) != FALSE;
}

// The window's frame centred on the rectangle, then pushed inside the work area.
void CentreOn(HWND window, const RECT& around, const RECT& area) {
    RECT frame{};
    if (!::GetWindowRect(window, &frame)) return;
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    LONG left = around.left + (around.right - around.left - width) / 2;
    LONG top = around.top + (around.bottom - around.top - height) / 2;
    left = std::max(area.left, std::min(left, area.right - width));
    top = std::max(area.top, std::min(top, area.bottom - height));
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void CentreOnWorkArea(HWND window) {
    RECT area{};
    if (WorkArea(area)) CentreOn(window, area, area);
}

void CentreOverOwner(HWND window, HWND owner) {
    RECT area{};
    if (!WorkArea(area)) return;
    RECT around = area;
    if (owner) ::GetWindowRect(owner, &around);
    CentreOn(window, around, area);
}
