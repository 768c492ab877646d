#pragma once
#include <windows.h>

// High priority for the process and time-critical for the calling thread while it lives; the
// priorities found at construction come back at destruction.
class CRaisedPriority {
public:
    CRaisedPriority();
    ~CRaisedPriority();
    CRaisedPriority(const CRaisedPriority&) = delete;
    CRaisedPriority& operator=(const CRaisedPriority&) = delete;

private:
    DWORD priorityClass_;
    int threadPriority_;
};
