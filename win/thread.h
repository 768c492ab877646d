#pragma once
#include <windows.h>

#include "win/unique_handle.h"

// A thread of the suite. Every thread starts here, through _beginthreadex, so that the C
// runtime sets up its own per-thread state before the body runs. The owner keeps the handle
// and closes it when it goes; the thread itself runs on. An owner whose object the body uses
// joins first. Destruction does not join: a thread may end its own owner, as the dashboard's
// self-deleting workers do, and could never wait for itself.
class CThread {
public:
    using Body = unsigned(__stdcall*)(void* argument);

    CThread() = default;

    // Starts body(argument), held before its first instruction when suspended. Without a
    // thread afterwards (the system made none) the object stays empty; the last error says why.
    void Start(Body body, void* argument, bool suspended = false, SECURITY_ATTRIBUTES* security = nullptr);
    // Lets a thread started suspended run.
    void Resume() const;
    // Waits for the thread's end, for at most ms; true when it has ended.
    bool Join(DWORD ms = INFINITE) const;
    // The last resort against a thread that no longer answers: it is stopped wherever it is.
    void Terminate(DWORD code) const;
    void Close() { handle_.reset(); }

    explicit operator bool() const { return static_cast<bool>(handle_); }
    HANDLE Handle() const { return handle_.get(); }
    DWORD Id() const { return id_; }

private:
    KernelHandle handle_;
    DWORD id_ = 0;
};
