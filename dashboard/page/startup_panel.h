#pragma once
#include <windows.h>

#include "win/unique_handle.h"

// The panel the page shows in its list's place until the decrypted-items file exists: a
// child dialog that only says what the page will show. It is made once and then only hidden
// and shown; its window goes with the page's.
class CStartupDlg {
public:
    void Create(HWND page);
    HWND Window() const { return window_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    // The theme library, while the panel wears the page's texture.
    Library theme_;
};
