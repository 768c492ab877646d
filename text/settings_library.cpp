#include "text/settings_library.h"

#include "text/product_folders.h"
#include "win/bstr.h"
#include "win/hresult.h"
#include "win/this_module.h"

namespace {

constexpr wchar_t kLibraryName[] = L"ZtoSet.dll";

// The request the library expects: its own size, the setting's name, and where the library
// puts the value it allocates for the caller to free. Twelve bytes in the 32-bit program.
struct SettingsRequest {
    DWORD size;
    BSTR name;
    BSTR* value;
};
#ifndef _WIN64
static_assert(sizeof(SettingsRequest) == 12);
#endif

Library LoadFrom(const std::wstring& folder) {
    if (folder.empty()) return Library();
    const std::wstring path = folder + kLibraryName;
    return Library(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace

CSettingsLibrary& CSettingsLibrary::Process() {
    static CSettingsLibrary library;
    return library;
}

void CSettingsLibrary::Load() {
    tried_ = true;
    library_ = LoadFrom(GetBinFolder());
    if (!library_) library_ = LoadFrom(ThisModuleFolder());
    if (library_) {
        query_ = reinterpret_cast<QueryFunction>(
            reinterpret_cast<void*>(::GetProcAddress(library_.get(), "api_settings_query")));
    }
}

HRESULT CSettingsLibrary::Query(const wchar_t* name, std::wstring& value) {
    if (!tried_) Load();
    if (!query_) return E_NOTIMPL;
    try {
        const Bstr requestName = MakeBstr(name);
        Bstr answer;
        SettingsRequest request{sizeof(SettingsRequest), requestName.get(), answer.put()};
        const HRESULT hr = query_(&request);
        if (FAILED(hr)) return hr;
        value = BstrText(answer.get());
        return hr;
    } catch (...) {
        return CurrentExceptionCode();
    }
}
