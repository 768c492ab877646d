#include "dashboard/threads/refresh_thread.h"

#include "win/com_apartment.h"

DWORD CRefreshThread::Run() {
    // The store is read through MSXML.
    const CComApartment com;
    // The refresh event comes first, so a request wins over the stop event when both are
    // signalled; the load then gives up at once.
    const HANDLE events[] = {page_.refreshEvent.get(), page_.stopEvent.get()};
    while (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
        // Reset before the load, so a request that comes during it is seen afterwards.
        ::ResetEvent(events[0]);
        const HRESULT loaded = Load();
        ::PostMessageW(page_.window, WM_ITEMS_LOADED, loaded == S_OK ? 1 : 0, 0);
    }
    return 0;
}

HRESULT CRefreshThread::Load() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    const HRESULT loaded = page_.items.Lock()->LoadItems(page_.refreshEvent.get(), page_.stopEvent.get());
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    return loaded;
}
