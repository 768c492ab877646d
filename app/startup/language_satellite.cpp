#include "app/startup/language_satellite.h"

#include <string>
#include <vector>

#include "win/windows_version.h"
#include "app/resource_module.h"

namespace {

std::wstring SatellitePath() {
    std::vector<wchar_t> path(MAX_PATH);
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return {};
    return std::wstring(path.data(), length) + L".mui";
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
