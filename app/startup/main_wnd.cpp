#include "app/startup/main_wnd.h"

#include "app/resources/resource_ids.h"
#include "app/traversal/file_list.h"
#include "text/online_help.h"
#include "text/res_string.h"
#include "text/resource_module.h"
#include "text/settings.h"
#include "ui/window_placement.h"
#include "win/window_dpi.h"

namespace {

constexpr wchar_t kWindowClass[] = L"ZTFileEncryptionWnd";
constexpr int kHelpTopic = 26;

// The neutral menu first, then one in the user's language, then any the module has.
HRSRC FindMainMenu(HMODULE module) {
    const LANGID preferred[] = {MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                MAKELANGID(PRIMARYLANGID(::GetUserDefaultUILanguage()), SUBLANG_NEUTRAL)};
    for (const LANGID language : preferred) {
        if (HRSRC found = ::FindResourceExW(module, RT_MENU, MAKEINTRESOURCEW(IDM_MAINMENU), language)) {
            return found;
        }
    }
    return ::FindResourceW(module, MAKEINTRESOURCEW(IDM_MAINMENU), RT_MENU);
}

MenuHandle LoadMainMenu() {
    const HMODULE module = ResourceModule();
    const HRSRC found = FindMainMenu(module);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* menuTemplate = loaded ? ::LockResource(loaded) : nullptr;
    return MenuHandle(menuTemplate ? ::LoadMenuIndirectW(menuTemplate) : nullptr);
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC windowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool CMainWnd::Create(HINSTANCE instance, MenuHandle menu) {
    if (!RegisterWindowClass(instance, &CMainWnd::WindowProc)) return false;
    const std::wstring title = LoadResString(IDS_MAIN_TITLE);
    // 400 by 100 pixels at 96 DPI, at the screen's DPI.
    const int dpi = WindowDpi(nullptr);
    const HWND window =
        ::CreateWindowExW(0, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, ::MulDiv(400, dpi, 96),
                          ::MulDiv(100, dpi, 96), nullptr, menu.get(), instance, this);
    if (!window) return false;
    // The window destroys its menu from now on.
    menu.release();
    ::ShowWindow(window, SW_SHOW);
    return true;
}

void CMainWnd::RunMessageLoop() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
}

LRESULT CALLBACK CMainWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CMainWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_CREATE:
            if (self) self->OnCreate(window);
            break;
        case WM_CLOSE:
            ::DestroyWindow(window);
            ::PostQuitMessage(0);
            return 0;
        case WM_COMMAND:
            if (self) self->OnCommand(window, LOWORD(wParam));
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void CMainWnd::OnCreate(HWND window) {
    const int dpi = WindowDpi(window);
    icon_.reset(static_cast<HICON>(::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDI_ZTFILEEN), IMAGE_ICON,
                                                SystemMetricAt(SM_CXSMICON, dpi),
                                                SystemMetricAt(SM_CYSMICON, dpi), 0)));
    if (icon_) ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    CentreOnWorkArea(window);
}

void CMainWnd::OnCommand(HWND window, WORD command) {
    switch (command) {
        case IDM_ENCRYPT:
            ChooseAndEncrypt(window);
            break;
        case IDM_DECRYPT:
            ChooseAndDecrypt(window);
            break;
        case IDM_EXIT:
            ::SendMessageW(window, WM_CLOSE, 0, 0);
            break;
        case IDM_HELP:
            if (IsPersonalMode()) OpenOnlineHelp(kHelpTopic, kOnlineHelpProductId);
            break;
        default:
            break;
    }
}

void RunMainWindow(HINSTANCE instance) {
    CMainWnd mainWnd;
    if (mainWnd.Create(instance, LoadMainMenu())) CMainWnd::RunMessageLoop();
}
