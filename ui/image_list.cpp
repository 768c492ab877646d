#include "ui/image_list.h"

ImageListHandle LoadImageStrip(HMODULE module, UINT bitmapId, int imageWidth) {
    return ImageListHandle(::ImageList_LoadImageW(module, MAKEINTRESOURCEW(bitmapId), imageWidth, 0,
                                                  CLR_DEFAULT, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}
