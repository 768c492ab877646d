#include "dashboard/page/startup_panel.h"

#include <uxtheme.h>

#include "dashboard/resources/resource_ids.h"
#include "text/resource_module.h"
#include "win/system_library.h"

namespace {

using EnableTextureFn = HRESULT(WINAPI*)(HWND, DWORD);

}  // namespace

void CStartupDlg::Create(HWND page) {
    if (window_) return;
    window_ = ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_STARTUP), page, DialogProc, 0);
    if (!window_) return;
    // On a themed sheet the page shows the tab's texture; the panel shows the same. Systems
    // without themes (Windows 2000) lack the library, and the panel keeps the dialog colour.
    theme_ = LoadSystemLibrary(L"uxtheme.dll");
    const auto enableTexture = reinterpret_cast<EnableTextureFn>(reinterpret_cast<void*>(
        theme_ ? ::GetProcAddress(theme_.get(), "EnableThemeDialogTexture") : nullptr));
    if (enableTexture) enableTexture(window_, ETDT_ENABLETAB);
    ::SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(window_, SW_SHOWNA);
}

// Nothing to set up and nothing to answer: the panel only shows its text, and leaves the
// focus where the page has it.
INT_PTR CALLBACK CStartupDlg::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
