#include "window_creation.h"

#include <string>

CWindowCreationRecorder::CWindowCreationRecorder(bool closeDialogs)
    : hook_(::SetWindowsHookExW(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId())) {
    made_.clear();
    closeDialogs_ = closeDialogs;
}

CWindowCreationRecorder::~CWindowCreationRecorder() {
    ::UnhookWindowsHookEx(hook_);
}

int CWindowCreationRecorder::MadeWithVersion6(HWND window) {
    const auto found = made_.find(window);
    return found == made_.end() ? -1 : found->second;
}

LRESULT CALLBACK CWindowCreationRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
        ACTCTX_SECTION_KEYED_DATA found{};
        found.cbSize = sizeof found;
        made_[window] = ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                                   L"comctl32.dll", &found);
    } else if (code == HCBT_ACTIVATE && closeDialogs_) {
        wchar_t name[16] = {};
        ::GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"#32770") ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
