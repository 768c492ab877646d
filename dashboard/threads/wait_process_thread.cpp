#include "dashboard/threads/wait_process_thread.h"

#include <memory>
#include <new>

#include "dashboard/resources/resource_ids.h"

namespace {

KernelHandle Duplicate(HANDLE handle) {
    KernelHandle copy;
    if (!handle || !::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), copy.put(), 0,
                                      FALSE, DUPLICATE_SAME_ACCESS)) {
        copy.release();
    }
    return copy;
}

}  // namespace

KernelHandle CWaitProcessThread::Launch(HWND page, HANDLE stopEvent, KernelHandle process) {
    // Its own copy of the stop event, so the page may close its events when it goes.
    KernelHandle stop = Duplicate(stopEvent);
    if (!stop || !process) return {};
    std::unique_ptr<CWaitProcessThread> thread(
        new (std::nothrow) CWaitProcessThread(page, std::move(stop), std::move(process)));
    if (!thread || !thread->Handle()) return {};
    KernelHandle end = Duplicate(thread->Handle());
    thread->SetSelfDeleting();
    thread.release()->Resume();
    return end;
}

DWORD CWaitProcessThread::Run() {
    const HANDLE events[] = {process_.get(), stopEvent_.get()};
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
        ::PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, 0), 0);
    }
    process_.reset();
    return 0;
}
