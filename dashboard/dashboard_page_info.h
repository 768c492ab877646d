#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstddef>

// What ZTGetPropertyPageEx hands the dashboard: one zero-filled block from LocalAlloc, which
// the dashboard owns and frees together with the title, a separate LocalAlloc block. The
// dashboard reads it by the offsets of the 32-bit layout below.
struct DashboardPageInfo {
    DWORD size;           // the block's size
    HPROPSHEETPAGE page;  // the created page
    DWORD kind;           // always kDashboardPageKind
    wchar_t* title;       // the page's title
    DWORD reserved1[2];
    HINSTANCE module;  // the plug-in, holder of the icon
    DWORD iconId;      // the page's icon group in the plug-in
    DWORD reserved2[3];
};

inline constexpr DWORD kDashboardPageKind = 5;

#ifndef _WIN64
static_assert(sizeof(DashboardPageInfo) == 44);
static_assert(offsetof(DashboardPageInfo, page) == 4);
static_assert(offsetof(DashboardPageInfo, kind) == 8);
static_assert(offsetof(DashboardPageInfo, title) == 12);
static_assert(offsetof(DashboardPageInfo, module) == 24);
static_assert(offsetof(DashboardPageInfo, iconId) == 28);
#endif
