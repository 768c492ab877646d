#pragma once
#include <windows.h>

#include <atomic>

#include "win/thread.h"
#include "win/unique_handle.h"

// A worker thread running the object's Run. It is created suspended in the constructor, so
// that the object is whole before its body starts, and runs once its owner resumes it. A
// thread whose creation failed has no handle; resuming it then does nothing.
class CSimpleThreadBase {
public:
    virtual ~CSimpleThreadBase() = default;
    CSimpleThreadBase(const CSimpleThreadBase&) = delete;
    CSimpleThreadBase& operator=(const CSimpleThreadBase&) = delete;

    void Resume();
    bool Started() const { return started_; }
    // Not 0 while the thread runs or has not started yet.
    DWORD ThreadId() const { return threadId_; }

    // Waits until the thread has left Run, resuming it first when it never started: the
    // owner has signalled what makes Run return, and the object may then be deleted.
    void WaitForEnd();

protected:
    CSimpleThreadBase();

    // From now on the thread deletes its object when Run returns, and keeps the module that
    // holds its code loaded until then, since no owner waits for it. Call before Resume.
    void SetSelfDeleting();
    HANDLE Handle() const { return thread_.Handle(); }

private:
    virtual DWORD Run() { return 0; }
    static unsigned __stdcall ThreadProc(void* object);

    CThread thread_;
    std::atomic<DWORD> threadId_{0};
    bool started_ = false;
    bool selfDeleting_ = false;
    Library module_;
};
