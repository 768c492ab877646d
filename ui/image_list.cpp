#include "ui/image_list.h"

namespace image_list {

namespace {

// The common controls this module's own imports were bound to: those whose controls it makes,
// version 6 under a manifest, also inside a plug-in whose manifest the host does not share.
// Asked by name under a plug-in's activation context, Wine answers that version 6 is not
// loaded, as it loads its one copy under the system folder's name.
HMODULE CommonControls() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<const wchar_t*>(reinterpret_cast<void*>(&::InitCommonControlsEx)), &module);
    return module;
}

template <class Function>
Function Call(const char* name) {
    const HMODULE module = CommonControls();
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(module ? ::GetProcAddress(module, name) : nullptr));
}

}  // namespace

HIMAGELIST LoadStrip(HMODULE module, UINT bitmapId, int imageWidth) {
    const auto load = Call<decltype(&::ImageList_LoadImageW)>("ImageList_LoadImageW");
    return load ? load(module, MAKEINTRESOURCEW(bitmapId), imageWidth, 0, CLR_DEFAULT, IMAGE_BITMAP,
                       LR_CREATEDIBSECTION)
                : nullptr;
}

void Destroy(HIMAGELIST list) {
    if (const auto destroy = Call<decltype(&::ImageList_Destroy)>("ImageList_Destroy")) destroy(list);
}

int Count(HIMAGELIST list) {
    const auto count = Call<decltype(&::ImageList_GetImageCount)>("ImageList_GetImageCount");
    return list && count ? count(list) : 0;
}

void Truncate(HIMAGELIST list, UINT count) {
    const auto setCount = Call<decltype(&::ImageList_SetImageCount)>("ImageList_SetImageCount");
    if (list && setCount && static_cast<UINT>(Count(list)) > count) setCount(list, count);
}

int AddIcon(HIMAGELIST list, HICON icon) {
    const auto replace = Call<decltype(&::ImageList_ReplaceIcon)>("ImageList_ReplaceIcon");
    return list && replace ? replace(list, -1, icon) : -1;
}

void Draw(HIMAGELIST list, int image, HDC dc, int x, int y, UINT style) {
    const auto draw = Call<decltype(&::ImageList_Draw)>("ImageList_Draw");
    if (list && draw) draw(list, image, dc, x, y, style);
}

bool ImageSize(HIMAGELIST list, int& width, int& height) {
    const auto size = Call<decltype(&::ImageList_GetIconSize)>("ImageList_GetIconSize");
    return list && size && size(list, &width, &height);
}

void SetBackground(HIMAGELIST list, COLORREF colour) {
    const auto background = Call<decltype(&::ImageList_SetBkColor)>("ImageList_SetBkColor");
    if (list && background) background(list, colour);
}

}  // namespace image_list
