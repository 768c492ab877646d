#include "text/resource_module.h"

#include <string>

#include "win/this_module.h"
#include "win/windows_version.h"

namespace {
HMODULE g_resourceModule = nullptr;
}

HMODULE ResourceModule() {
    return g_resourceModule ? g_resourceModule : ThisModule();
}

void SetResourceModule(HMODULE module) {
    g_resourceModule = module;
}

namespace {

std::wstring SatellitePath() {
    const std::wstring module = ModuleFileName(ThisModule());
    return module.empty() ? module : module + L".mui";
}

}  // namespace

CLanguageSatellite::CLanguageSatellite() {
    if (IsWindowsVistaOrLater()) return;
    const std::wstring path = SatellitePath();
    if (path.empty()) return;
    // Only its resources are wanted: loaded as data, no code of it ever runs.
    library_.reset(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (library_) SetResourceModule(library_.get());
}

CLanguageSatellite::~CLanguageSatellite() {
    if (library_) SetResourceModule(nullptr);
}
