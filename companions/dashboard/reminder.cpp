#include "reminder.h"

#include <algorithm>

#include "resource_ids.h"
#include "status.h"
#include "text/res_string.h"
#include "text/resource_module.h"

namespace {

constexpr wchar_t kWindowClass[] = L"ZTDashBoardReminder";
constexpr UINT_PTR kTimer = 1;

}  // namespace

CReminder::CReminder() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ResourceModule();
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassW(&windowClass);
    // A message-only window: it only receives the timer.
    window_ =
        ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ResourceModule(), this);
    Arm();
}

CReminder::~CReminder() {
    if (reminder_) ::DestroyWindow(reminder_);
    if (window_) ::DestroyWindow(window_);
}

void CReminder::Arm() {
    const StatusAnswers answers = AskStatus();
    if (!window_ || FAILED(answers.created) || answers.timeout <= 0) return;
    const LONGLONG ms = std::min<LONGLONG>(LONGLONG{answers.timeout} * 1000, USER_TIMER_MAXIMUM);
    ::SetTimer(window_, kTimer, static_cast<UINT>(ms), nullptr);
}

void CReminder::OnTimer() {
    ::KillTimer(window_, kTimer);
    if (ReminderDue(AskStatus()) && !reminder_) {
        reminder_ = ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_REMINDER), nullptr,
                                         ReminderProc, reinterpret_cast<LPARAM>(this));
        if (reminder_) ::ShowWindow(reminder_, SW_SHOWNORMAL);
    }
    Arm();
}

LRESULT CALLBACK CReminder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        ::SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    } else if (message == WM_TIMER) {
        reinterpret_cast<CReminder*>(::GetWindowLongPtrW(window, GWLP_USERDATA))->OnTimer();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK CReminder::ReminderProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        ::SetDlgItemTextW(dialog, IDC_REMINDER_TEXT, LoadResString(IDS_REMINDER_TEXT).c_str());
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        reinterpret_cast<CReminder*>(::GetWindowLongPtrW(dialog, DWLP_USER))->reminder_ = nullptr;
        ::DestroyWindow(dialog);
        return TRUE;
    }
    return FALSE;
}
