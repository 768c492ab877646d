#pragma once
#include <windows.h>

// Reminds the user of decrypted items while the dashboard runs: once the status object's
// interval has passed, and again after each further interval, a small window says so when
// items exist and reminders are on. Needs a message loop on the creating thread (the
// property sheet's serves).
class CReminder {
public:
    CReminder();
    ~CReminder();
    CReminder(const CReminder&) = delete;
    CReminder& operator=(const CReminder&) = delete;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK ReminderProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // Starts the next interval, when reminders are on.
    void Arm();
    void OnTimer();

    HWND window_ = nullptr;
    HWND reminder_ = nullptr;
};
