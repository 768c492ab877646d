#pragma once
#include <windows.h>

#include <commctrl.h>

#include "win/unique_handle.h"

namespace handle_detail {
inline void DestroyImageList(HIMAGELIST list) {
    ::ImageList_Destroy(list);
}
}  // namespace handle_detail

// An image list no control owns yet.
using ImageListHandle = UniqueHandle<SimpleTraits<HIMAGELIST, nullptr, handle_detail::DestroyImageList>>;

// A strip of images of one width from a bitmap resource, masked by the colour of its top-left
// pixel. None when the module has no such bitmap.
ImageListHandle LoadImageStrip(HMODULE module, UINT bitmapId, int imageWidth);
