#pragma once
#include <windows.h>

// A window whose messages an object sees before the window's own procedure does: Attach
// replaces the procedure, and it is put back when the window is destroyed, when Detach is
// called, or when the object goes. One object per window.
class CWindowSubclass {
public:
    CWindowSubclass() = default;
    virtual ~CWindowSubclass() { Detach(); }
    CWindowSubclass(const CWindowSubclass&) = delete;
    CWindowSubclass& operator=(const CWindowSubclass&) = delete;

    void Attach(HWND window);
    void Detach();
    HWND Window() const { return window_; }

protected:
    // Handles one message; what it does not take it hands to Default.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return Default(message, wParam, lParam);
    }
    // The window's own procedure.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
};
