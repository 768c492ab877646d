#pragma once
#include <windows.h>

#include <mutex>
#include <optional>

#include "store/decrypted_items.h"
#include "win/unique_handle.h"

// Posted by the refresh thread when a load has ended; wParam 1 when the list changed.
inline constexpr UINT WM_ITEMS_LOADED = WM_USER + 1;

// The page's item map with its lock. The refresh thread holds the lock for a whole load;
// the page's window takes it without waiting (a busy map is used once the load has posted
// that it ended), so that a long load never holds up the host's window.
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

// What a page shares with its worker threads: the item map, the page's window (which the
// threads only post to; set before they start), and the two manual-reset events that steer
// them: a refresh request and the page going away.
struct CPageShared {
    CPageShared()
        : refreshEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    CGuardedItems items;
    KernelHandle refreshEvent;
    KernelHandle stopEvent;
    HWND window = nullptr;
};
