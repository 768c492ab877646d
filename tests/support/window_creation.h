#pragma once
#include <windows.h>

#include <map>

// Records, for each window made on this thread while it lives, whether a call naming the
// common controls then reached Common Controls 6: whether the window was made under a
// manifest that names them. Closes each dialog (a message box too) it sees come up, as
// Cancel, if asked to.
class CWindowCreationRecorder {
public:
    explicit CWindowCreationRecorder(bool closeDialogs = false);
    ~CWindowCreationRecorder();
    CWindowCreationRecorder(const CWindowCreationRecorder&) = delete;
    CWindowCreationRecorder& operator=(const CWindowCreationRecorder&) = delete;

    // 1 made with version 6, 0 without, -1 not made while recording.
    static int MadeWithVersion6(HWND window);
    // Every window made while recording, and whether it was made with version 6.
    static const std::map<HWND, bool>& Made() { return made_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    static inline std::map<HWND, bool> made_;
    static inline bool closeDialogs_ = false;
    HHOOK hook_;
};
