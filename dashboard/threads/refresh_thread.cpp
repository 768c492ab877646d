#include "dashboard/threads/refresh_thread.h"

#include "win/com_apartment.h"

DWORD CRefreshThread::Run() {
    // The store is read through MSXML.
    const CComApartment com;
    // The refresh event comes first, so a request wins over the stop event when both are
    // signalled; the load then gives up at once.
    const HANDLE events[] = {page_.refreshEvent.get(), page_.stopEvent.get()};
    while (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
        // Reset before the load, so a request that comes during it is seen afterwards; and the
        // count is read after the reset, since a request counted later sets the event again.
        ::ResetEvent(events[0]);
        Serve(static_cast<LPARAM>(page_.loadRequests.load()));
    }
    return 0;
}

// Edits come instead of a load: they read the store afresh themselves.
void CRefreshThread::Serve(LPARAM served) {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    const std::vector<ItemEdit> edits = page_.edits.TakeAll();
    const bool changed = edits.empty() ? Load() == S_OK : MakeEdits(edits);
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    const UINT message = changed || edits.empty() ? WM_ITEMS_LOADED : WM_EDIT_FAILED;
    ::PostMessageW(page_.window, message, changed ? 1 : 0, served);
}

HRESULT CRefreshThread::Load() {
    return page_.items.Lock()->LoadItems(page_.refreshEvent.get(), page_.stopEvent.get());
}

// The store is read again first, so that what other programs saved meanwhile is kept; a map
// that cannot be read whole is not saved, since the file would then lose the rest. Only the
// page going away cuts that reading short; a request to load that came meanwhile would leave
// the map part-read and the edits undone. A save that fails is not reported: the list shows
// the map, which holds the edits.
bool CRefreshThread::MakeEdits(const std::vector<ItemEdit>& edits) {
    const CGuardedItems::Access items = page_.items.Lock();
    items->LoadItems(page_.stopEvent.get());
    if (!items->IsComplete()) return false;
    for (const ItemEdit& edit : edits) edit(*items);
    items->SaveItems();
    return true;
}
