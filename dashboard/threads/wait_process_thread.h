#pragma once
#include <windows.h>

#include "dashboard/threads/simple_thread_base.h"
#include "win/unique_handle.h"

// Waits for a program the page started and then asks the page for a reload (WM_COMMAND
// IDC_REFRESH without a control), unless the page's stop event comes first: then it ends at
// once and posts nothing. It owns itself and its own handles, process and stop event
// included, so it may outlive the page.
class CWaitProcessThread final : public CSimpleThreadBase {
public:
    // Starts the thread; the page keeps nothing of it. Gives a handle to wait on for its end,
    // or none when it could not be started (the reload after the program then is missing).
    static KernelHandle Launch(HWND page, HANDLE stopEvent, KernelHandle process);

private:
    CWaitProcessThread(HWND page, KernelHandle stopEvent, KernelHandle process)
        : page_(page), stopEvent_(std::move(stopEvent)), process_(std::move(process)) {}
    DWORD Run() override;

    HWND page_;
    KernelHandle stopEvent_;
    KernelHandle process_;
};
