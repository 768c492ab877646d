#include "win/thread.h"

#include <process.h>

void CThread::Start(Body body, void* argument, bool suspended, SECURITY_ATTRIBUTES* security) {
    unsigned id = 0;
    const uintptr_t started =
        ::_beginthreadex(security, 0, body, argument, suspended ? CREATE_SUSPENDED : 0, &id);
    handle_.reset(reinterpret_cast<HANDLE>(started));
    id_ = handle_ ? id : 0;
}

void CThread::Resume() const {
    if (handle_) ::ResumeThread(handle_.get());
}

bool CThread::Join(DWORD ms) const {
    return !handle_ || ::WaitForSingleObject(handle_.get(), ms) == WAIT_OBJECT_0;
}

void CThread::Terminate(DWORD code) const {
    if (handle_) ::TerminateThread(handle_.get(), code);
}
