#pragma once
#include <vector>

#include "dashboard/page/page_shared.h"
#include "dashboard/threads/simple_thread_base.h"

// Loads the store into the page's map whenever the page asks, at below-normal priority, and
// posts WM_ITEMS_LOADED after each load. Requests that come before the thread wakes make one
// load; a request during a load cuts it short and makes exactly one more. When the page has
// queued edits, the thread makes them instead of that load, on the store read afresh, saves
// it and posts WM_ITEMS_LOADED, or WM_EDIT_FAILED when the store could not be read whole.
// Ends when the page goes away, and a load or edit under way gives up then too.
class CRefreshThread final : public CSimpleThreadBase {
public:
    explicit CRefreshThread(CPageShared& page) : page_(page) {}

private:
    DWORD Run() override;
    void Serve(LPARAM served);
    HRESULT Load();
    bool MakeEdits(const std::vector<ItemEdit>& edits);

    CPageShared& page_;
};
