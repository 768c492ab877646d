#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "store/decrypted_items.h"
#include "win/unique_handle.h"

// Posted by the refresh thread when a load has ended; wParam 1 when the list changed, lParam
// the count of load requests the load began with (CPageShared::loadRequests).
inline constexpr UINT WM_ITEMS_LOADED = WM_USER + 1;
// Posted by the refresh thread instead when the page's edits were not made, since the store
// could not be read whole; lParam as for WM_ITEMS_LOADED.
inline constexpr UINT WM_EDIT_FAILED = WM_USER + 2;

// The page's item map with its lock. The refresh thread holds the lock for a whole load or
// edit; the page's window only tries it (a busy map is used once the load has posted that it
// ended), so that a long load never holds up the host's window.
class CGuardedItems {
public:
    class Access {
    public:
        CDecryptedItems* operator->() const { return items_; }
        CDecryptedItems& operator*() const { return *items_; }

    private:
        friend class CGuardedItems;
        Access(std::unique_lock<std::mutex> lock, CDecryptedItems& items)
            : lock_(std::move(lock)), items_(&items) {}
        std::unique_lock<std::mutex> lock_;
        CDecryptedItems* items_;
    };

    // For the refresh thread, and for tests.
    Access Lock() { return Access(std::unique_lock(mutex_), items_); }
    // Nothing while another thread holds the map.
    std::optional<Access> TryLock() {
        std::unique_lock lock(mutex_, std::try_to_lock);
        if (!lock) return std::nullopt;
        return Access(std::move(lock), items_);
    }

private:
    std::mutex mutex_;
    CDecryptedItems items_;
};

// A change the page asks to have made to the store.
using ItemEdit = std::function<void(CDecryptedItems&)>;

// The page's edits waiting for the refresh thread. Its lock is held only to add or take them.
class CEditQueue {
public:
    void Push(ItemEdit edit) {
        const std::lock_guard lock(mutex_);
        edits_.push_back(std::move(edit));
    }
    std::vector<ItemEdit> TakeAll() {
        const std::lock_guard lock(mutex_);
        return std::exchange(edits_, {});
    }

private:
    std::mutex mutex_;
    std::vector<ItemEdit> edits_;
};

// What a page shares with its worker threads: the item map, the edits waiting to be made, the
// page's window (which the threads only post to; set before they start), and the two
// manual-reset events that steer them: a refresh request and the page going away.
struct CPageShared {
    CPageShared()
        : refreshEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    // Counted before the event is set, so that the load that sees the event sees the count.
    std::uint32_t RequestLoad() {
        const std::uint32_t request = ++loadRequests;
        ::SetEvent(refreshEvent.get());
        return request;
    }

    CGuardedItems items;
    CEditQueue edits;
    // The page's requests for a load so far.
    std::atomic<std::uint32_t> loadRequests{0};
    KernelHandle refreshEvent;
    KernelHandle stopEvent;
    HWND window = nullptr;
};
