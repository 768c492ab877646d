#pragma once
#include <windows.h>

#include "win/unique_handle.h"

namespace window_handle_detail {
inline void DestroyMenuValue(HMENU menu) {
    ::DestroyMenu(menu);
}
}  // namespace window_handle_detail

// A menu not yet handed to a window.
using MenuHandle = UniqueHandle<SimpleTraits<HMENU, nullptr, window_handle_detail::DestroyMenuValue>>;
