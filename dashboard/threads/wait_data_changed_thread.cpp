#include "dashboard/threads/wait_data_changed_thread.h"

#include "dashboard/resources/resource_ids.h"

DWORD CWaitDataChangedThread::Run() {
    ULONGLONG lastSeen = 0;
    while (::WaitForSingleObject(page_.stopEvent.get(), kPollMs) == WAIT_TIMEOUT) {
        FILETIME written{};
        const bool exists = CDecryptedItems::GetStoreFileInfo(&written, nullptr);
        const ULONGLONG time = ULARGE_INTEGER{{written.dwLowDateTime, written.dwHighDateTime}}.QuadPart;
        if (exists && lastSeen != 0 && time != lastSeen) {
            ::PostMessageW(page_.window, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
        }
        lastSeen = time;
    }
    return 0;
}
