#pragma once
#include <windows.h>

#include <commctrl.h>

#include "win/unique_handle.h"

// The image-list calls of the common controls the module imports, looked up at run time:
// Microsoft's reference pages name Windows Vista for them, so they are not imported, although
// the common controls of every system the suite runs on have them. Where one is missing the
// call does nothing and answers as for an empty list.
namespace image_list {

// A strip of images of one width from a bitmap resource, masked by the colour of its top-left
// pixel. None when the module has no such bitmap.
HIMAGELIST LoadStrip(HMODULE module, UINT bitmapId, int imageWidth);
void Destroy(HIMAGELIST list);
int Count(HIMAGELIST list);
// Keeps the first count images and drops the rest.
void Truncate(HIMAGELIST list, UINT count);
// The index of the icon added, or -1.
int AddIcon(HIMAGELIST list, HICON icon);
void Draw(HIMAGELIST list, int image, HDC dc, int x, int y, UINT style);
// The images' size; false for a list that has none.
bool ImageSize(HIMAGELIST list, int& width, int& height);
void SetBackground(HIMAGELIST list, COLORREF colour);

}  // namespace image_list

namespace handle_detail {
inline void DestroyImageList(HIMAGELIST list) {
    image_list::Destroy(list);
}
}  // namespace handle_detail

// An image list no control owns yet.
using ImageListHandle = UniqueHandle<SimpleTraits<HIMAGELIST, nullptr, handle_detail::DestroyImageList>>;
