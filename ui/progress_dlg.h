#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "ui/modal_dialog.h"
#include "win/thread.h"
#include "win/unique_handle.h"

// The progress of a run: a bar for the bytes done, the current file's name and Cancel. The
// dialog runs on its own thread so that it stays responsive while the run works; the run
// reports through the methods below, which do nothing once the window is gone.
class CProgressDlg : private CModalDialog {
public:
    // Starts the dialog's thread and waits until the dialog is up, for at most 2000 ms.
    CProgressDlg(HWND owner, std::wstring title);
    ~CProgressDlg() override;

    // Bytes of the whole run; 0 means there is nothing to measure and the bar is full.
    void SetTotalRange(std::uint64_t total);
    // Adds bytes done.
    void SetPos(std::uint64_t delta);
    // Announces the next file; a file that reported no progress counts as done in full.
    // Without a name the bar is set to full.
    void Initialize(const wchar_t* fileName);
    // Counts a file that is skipped as done.
    void SkipFile(const std::wstring& path);
    // Ends the dialog; a dialog thread that does not end within 2000 ms is terminated.
    void CloseProgress();

    bool IsCancelled() const { return cancelled_; }
    HWND Window() const;

private:
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, WORD id) override;
    bool OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

    static unsigned __stdcall ThreadMain(void* self);
    void RunDialog();
    void StartThread();
    // The bar's new position after adding delta, if there is a range. Call under the lock.
    int AdvanceLocked(std::uint64_t delta);
    void SetBar(int percent) const;

    HWND owner_;
    std::wstring title_;
    std::atomic<HWND> window_{nullptr};
    HWND bar_ = nullptr;
    HWND fileText_ = nullptr;

    std::mutex lock_;
    std::uint64_t total_ = 0;
    std::uint64_t currentSize_ = 0;
    std::uint64_t done_ = 0;
    bool accounted_ = true;
    std::atomic<bool> cancelled_{false};

    KernelHandle initialised_;
    KernelHandle threadEnded_;
    CThread thread_;
};
