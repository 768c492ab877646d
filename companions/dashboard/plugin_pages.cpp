#include "plugin_pages.h"

#include <optional>

#include "plugin_contract.h"
#include "win/registry.h"

namespace {

std::optional<PlugInPage> PageOf(const std::wstring& path) {
    PlugInPage page;
    page.plugIn.reset(::LoadLibraryW(path.c_str()));
    if (!page.plugIn) return std::nullopt;
    const auto getPage = reinterpret_cast<GetPropertyPageFn>(
        reinterpret_cast<void*>(::GetProcAddress(page.plugIn.get(), "ZTGetPropertyPageEx")));
    PlugInPageInfo* info = nullptr;
    if (!getPage || FAILED(getPage(&info, 0)) || !info) return std::nullopt;
    page.page = info->page;
    page.title = info->title ? info->title : L"";
    page.module = info->module;
    page.iconId = info->iconId;
    // The descriptor and its title are the dashboard's to free.
    ::LocalFree(info->title);
    ::LocalFree(info);
    return page;
}

}  // namespace

std::vector<PlugInPage> LoadPlugInPages() {
    std::vector<PlugInPage> pages;
    for (const std::wstring& name : ValueNames(TryOpenKey(HKEY_LOCAL_MACHINE, kPlugInsKey).get())) {
        const std::optional<std::wstring> path =
            TryReadExpandedString(HKEY_LOCAL_MACHINE, kPlugInsKey, name.c_str());
        if (!path) continue;
        if (std::optional<PlugInPage> page = PageOf(*path)) pages.push_back(std::move(*page));
    }
    return pages;
}
