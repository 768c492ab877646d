// The menu on the screen: a window for the selection, the popup over it, and the choice made
// with the keyboard as a person would, after the hold ends.
#include "shellhost.h"
#include "win/unique_handle.h"

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr DWORD kTickMs = 100;
// A menu that has not come up by then never will.
constexpr DWORD kShowTimeoutMs = 20000;

struct MenuState {
    HMENU menu;
    const HostOptions* options;
    bool shown = false;
    bool closing = false;
    DWORD startTick = 0;
    DWORD shownTick = 0;
};
MenuState* g_state = nullptr;

bool HoldEnded(const MenuState& state) {
    const HostOptions& options = *state.options;
    return ::GetFileAttributesW(options.holdFile.c_str()) == INVALID_FILE_ATTRIBUTES ||
           ::GetTickCount() - state.shownTick >= options.holdMs;
}

// Down once to the first item, once more for each further item that can be selected.
void PickByKeyboard(HWND window, const MenuState& state) {
    const HostOptions& options = *state.options;
    const int count = ::GetMenuItemCount(state.menu);
    int presses = 0;
    for (int position = 0; position < count; ++position) {
        if (::GetMenuState(state.menu, position, MF_BYPOSITION) & MF_SEPARATOR) continue;
        ++presses;
        if (::GetMenuItemID(state.menu, position) == options.first + *options.pick) {
            for (int i = 0; i < presses; ++i) ::PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
            return;
        }
    }
    ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
}

void OnTick(HWND window, MenuState& state) {
    if (state.closing) return;
    if (!state.shown) {
        if (::GetTickCount() - state.startTick >= kShowTimeoutMs) {
            state.closing = true;
            ::EndMenu();
        }
        return;
    }
    if (!HoldEnded(state)) return;
    state.closing = true;
    if (state.options->pick) {
        PickByKeyboard(window, state);
    } else {
        ::PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    }
}

void OnShown(MenuState& state) {
    if (state.shown) return;
    state.shown = true;
    state.shownTick = ::GetTickCount();
    // The hold file tells a watcher that the menu is up and can be photographed.
    if (!state.options->holdFile.empty()) {
        FileHandle(::CreateFileW(state.options->holdFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                 nullptr));
    }
    Print(L"shown");
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_state && message == WM_ENTERIDLE && wParam == MSGF_MENU) OnShown(*g_state);
    if (g_state && message == WM_TIMER && wParam == kTimer) OnTick(window, *g_state);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateHostWindow(const std::vector<std::wstring>& paths) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"ZtShellHost";
    ::RegisterClassW(&windowClass);
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Explorer stand-in",
                                          WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 640, 400, nullptr,
                                          nullptr, windowClass.hInstance, nullptr);
    // The selection, as the folder window would list it.
    const HWND list =
        ::CreateWindowExW(0, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_EXTENDEDSEL, 10, 10,
                          600, 340, window, nullptr, windowClass.hInstance, nullptr);
    for (const std::wstring& path : paths) {
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    ::SendMessageW(list, LB_SETSEL, TRUE, -1);
    return window;
}

}  // namespace

std::optional<UINT> ShowMenu(HMENU menu, const HostOptions& options, const std::vector<std::wstring>& paths) {
    const HWND window = CreateHostWindow(paths);
    if (!window) return std::nullopt;
    MenuState state{menu, &options};
    state.startTick = ::GetTickCount();
    g_state = &state;
    ::SetForegroundWindow(window);
    ::SetTimer(window, kTimer, kTickMs, nullptr);
    const UINT chosen = static_cast<UINT>(
        ::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, 200, 160, window, nullptr));
    ::KillTimer(window, kTimer);
    g_state = nullptr;
    ::DestroyWindow(window);
    if (!state.shown) return std::nullopt;
    return chosen;
}
