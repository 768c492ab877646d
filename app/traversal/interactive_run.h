#pragma once

// Marks the time from a selection dialog to the end of the run on its choice. Such a run
// always ends with a report, so a user who picked files sees that something happened.
class CInteractiveRun {
public:
    CInteractiveRun();
    ~CInteractiveRun();
    CInteractiveRun(const CInteractiveRun&) = delete;
    CInteractiveRun& operator=(const CInteractiveRun&) = delete;

    static bool Active();
};
