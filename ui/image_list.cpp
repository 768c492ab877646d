#include "ui/image_list.h"

#include "win/system_library.h"

namespace image_list {

namespace {

template <class Function>
Function Call(const char* name) {
    return LoadedLibraryFunction<Function>(L"comctl32.dll", name);
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
