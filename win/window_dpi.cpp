#include "win/window_dpi.h"

#include "win/picture_ids.h"
#include "win/system_library.h"

namespace {

constexpr int kDefaultDpi = 96;

int ScreenDpi(HWND window) {
    const HDC dc = ::GetDC(window);
    if (!dc) return kDefaultDpi;
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(window, dc);
    return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    if (const auto forWindow =
            LoadedLibraryFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow")) {
        if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
    }
    return ScreenDpi(window);
}

int PicturePercent(int dpi) {
    for (const int percent : {200, 150}) {
        if (dpi * 100 >= kDefaultDpi * percent) return percent;
    }
    return 100;
}

UINT PictureAt(UINT bitmapId, int percent) {
    return bitmapId + (percent >= 200 ? IDB_200_PERCENT : percent >= 150 ? IDB_150_PERCENT : 0);
}

int SystemMetricAt(int index, int dpi) {
    using ForDpiFunction = int(WINAPI*)(int, UINT);
    if (const auto forDpi = LoadedLibraryFunction<ForDpiFunction>(L"user32.dll", "GetSystemMetricsForDpi")) {
        return forDpi(index, static_cast<UINT>(dpi));
    }
    return ::GetSystemMetrics(index);
}
