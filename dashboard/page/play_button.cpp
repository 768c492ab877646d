#include "dashboard/page/play_button.h"

#include <commctrl.h>
#include <windowsx.h>

#include "text/resource_module.h"

CPlayButton::~CPlayButton() {
    if (tooltip_) ::DestroyWindow(tooltip_);
}

void CPlayButton::Attach(HWND button, const Pictures& pictures, const std::wstring& tip) {
    if (!button) return;
    CWindowSubclass::Attach(button);
    SetPictures(pictures);
    tip_ = tip;
    tooltip_ =
        ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, button, nullptr, ResourceModule(), nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = ::GetParent(button);
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = tip_.data();
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CPlayButton::SetPictures(const Pictures& pictures) {
    face_.reset(image_list::LoadStrip(ResourceModule(), pictures.faceId, pictures.imageWidth));
    frames_.reset(image_list::LoadStrip(ResourceModule(), pictures.framesId, pictures.imageWidth));
    frameCount_ = image_list::Count(frames_.get());
    int width = 0;
    int height = 0;
    if (image_list::ImageSize(face_.get(), width, height)) {
        ::SetWindowPos(Window(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ::InvalidateRect(Window(), nullptr, TRUE);
}

void CPlayButton::SetTipText(const std::wstring& tip) {
    tip_ = tip;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = ::GetParent(Window());
    tool.uId = reinterpret_cast<UINT_PTR>(Window());
    tool.lpszText = tip_.data();
    ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CPlayButton::Play() {
    if (!Window()) return;
    // A stop that is still to come belonged to an earlier play.
    ::KillTimer(Window(), kStopTimer);
    if (playing_) return;
    playing_ = true;
    frame_ = 1;
    ::SetTimer(Window(), kFrameTimer, 1000 / kFramesPerSecond, nullptr);
}

void CPlayButton::StopAfter(UINT ms) {
    if (playing_) ::SetTimer(Window(), kStopTimer, ms, nullptr);
}

void CPlayButton::Stop() {
    playing_ = false;
    ::KillTimer(Window(), kStopTimer);
    ::KillTimer(Window(), kFrameTimer);
    if (CursorOverButton()) ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::InvalidateRect(Window(), nullptr, TRUE);
}

LRESULT CPlayButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    RelayToTip(message, wParam, lParam);
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_TIMER:
            if (wParam == kFrameTimer) ::InvalidateRect(Window(), nullptr, FALSE);
            if (wParam == kStopTimer) Stop();
            return 0;
        case WM_SETCURSOR:
            if (!::IsWindowEnabled(Window())) break;
            ::SetCursor(::LoadCursorW(nullptr, playing_ ? IDC_WAIT : IDC_HAND));
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pressed_ = true;
            ::SetCapture(Window());
            ::SetFocus(Window());
            return 0;
        case WM_LBUTTONUP: {
            if (!pressed_) return 0;
            pressed_ = false;
            ::ReleaseCapture();
            RECT client{};
            ::GetClientRect(Window(), &client);
            if (::PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) return 0;
            break;
        case WM_KEYUP:
            if (wParam != VK_SPACE) break;
            Click();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_BUTTON;
        case WM_DESTROY:
            // The tip goes with the button that owns it.
            tooltip_ = nullptr;
            break;
    }
    return Default(message, wParam, lParam);
}

void CPlayButton::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(Window(), &paint);
    RECT client{};
    ::GetClientRect(Window(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    if (playing_ && frameCount_ > 0) {
        image_list::Draw(frames_.get(), frame_, dc, 0, 0, ILD_TRANSPARENT);
        frame_ = (frame_ + 1) % frameCount_;
    } else if (face_) {
        image_list::Draw(face_.get(), 0, dc, 0, 0, ILD_TRANSPARENT);
    }
    ::EndPaint(Window(), &paint);
}

void CPlayButton::Click() {
    const HWND parent = ::GetParent(Window());
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(Window()), BN_CLICKED),
                   reinterpret_cast<LPARAM>(Window()));
}

void CPlayButton::RelayToTip(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!tooltip_ || message < WM_MOUSEFIRST || message > WM_MOUSELAST) return;
    MSG relayed{Window(), message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

bool CPlayButton::CursorOverButton() const {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    return ::WindowFromPoint(cursor) == Window();
}
