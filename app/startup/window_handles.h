#pragma once
#include <windows.h>

#include "win/unique_handle.h"

namespace window_handle_detail {
inline void DestroyMenuValue(HMENU menu) {
    ::DestroyMenu(menu);
}
inline void DestroyIconValue(HICON icon) {
    ::DestroyIcon(icon);
}
}  // namespace window_handle_detail

// A menu not yet handed to a window, and an icon loaded for this program alone.
using MenuHandle = UniqueHandle<SimpleTraits<HMENU, nullptr, window_handle_detail::DestroyMenuValue>>;
using IconHandle = UniqueHandle<SimpleTraits<HICON, nullptr, window_handle_detail::DestroyIconValue>>;
