#pragma once
#include "dashboard/page/page_shared.h"
#include "dashboard/threads/simple_thread_base.h"

// Looks at the store file's last-write time every five seconds and asks the page for a
// reload (WM_COMMAND IDC_REFRESH without a control) when it differs from the time seen at
// the poll before. The first poll only records the time; a file that is deleted and made
// again passes through "no file" and is not reported. Ends when the page goes away.
class CWaitDataChangedThread final : public CSimpleThreadBase {
public:
    static constexpr DWORD kPollMs = 5000;
    explicit CWaitDataChangedThread(CPageShared& page) : page_(page) {}

private:
    DWORD Run() override;

    CPageShared& page_;
};
