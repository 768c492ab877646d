#include "dashboard/page_entry.h"

#include <cstring>
#include <memory>
#include <string>

#include "dashboard/page/main_page.h"
#include "dashboard/resources/resource_ids.h"
#include "text/res_string.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/activation_context.h"
#include "win/this_module.h"
#include "win/unique_handle.h"

namespace {

void DestroyPage(HPROPSHEETPAGE page) {
    ::DestroyPropertySheetPage(page);
}
// A page no sheet has taken yet; destroying it deletes its object through the page callback.
using PageHandle = UniqueHandle<SimpleTraits<HPROPSHEETPAGE, nullptr, DestroyPage>>;

HPROPSHEETPAGE CreatePage() {
    auto page = std::make_unique<CMainPage>();
    const PROPSHEETPAGEW description = page->PageDescription();
    const HPROPSHEETPAGE handle = ::CreatePropertySheetPageW(&description);
    if (!handle) ThrowLastError();
    page.release();
    return handle;
}

LocalMemory LocalCopy(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    LocalMemory copy(::LocalAlloc(LMEM_FIXED, bytes));
    if (!copy) ThrowHr(E_OUTOFMEMORY);
    std::memcpy(copy.get(), text.c_str(), bytes);
    return copy;
}

}  // namespace

HRESULT GetDashboardPage(DashboardPageInfo** outInfo, UINT index) {
    trace::CTraceScope scope("ZTGetPropertyPageEx");
    return Guarded(scope, [&] {
        if (!outInfo) ThrowHr(E_POINTER);
        // The plug-in has exactly one page.
        if (index != 0) ThrowWin32(ERROR_NOT_FOUND);
        // The classes registered here and the page are those of the plug-in's Common Controls.
        const CActivationScope visualStyle;
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
        ::InitCommonControlsEx(&controls);
        PageHandle page(CreatePage());
        LocalMemory block(::LocalAlloc(LPTR, sizeof(DashboardPageInfo)));
        if (!block) ThrowHr(E_OUTOFMEMORY);
        LocalMemory title = LocalCopy(LoadResString(IDS_PAGE_TITLE));
        auto* info = static_cast<DashboardPageInfo*>(block.get());
        info->size = sizeof(DashboardPageInfo);
        info->page = page.release();
        info->kind = kDashboardPageKind;
        info->title = static_cast<wchar_t*>(title.release());
        info->module = ThisModule();
        info->iconId = IDI_PAGE;
        *outInfo = static_cast<DashboardPageInfo*>(block.release());
    });
}
