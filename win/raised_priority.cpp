#include "win/raised_priority.h"

CRaisedPriority::CRaisedPriority()
    : priorityClass_(::GetPriorityClass(::GetCurrentProcess())),
      threadPriority_(::GetThreadPriority(::GetCurrentThread())) {
    ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
}

CRaisedPriority::~CRaisedPriority() {
    // A query that failed has nothing to give back.
    if (priorityClass_ != 0) ::SetPriorityClass(::GetCurrentProcess(), priorityClass_);
    if (threadPriority_ != THREAD_PRIORITY_ERROR_RETURN)
        ::SetThreadPriority(::GetCurrentThread(), threadPriority_);
}
