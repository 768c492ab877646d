#include "dashboard/page/item_icons.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "core/registration/registry_keys.h"
#include "win/path_parts.h"
#include "win/registry.h"
#include "win/wide_text.h"

namespace {

std::optional<std::wstring> OpeningProgram(const std::wstring& name) {
    const std::wstring extension = ExtensionOf(name);
    if (extension.empty()) return std::nullopt;
    DWORD units = 0;
    if (::AssocQueryStringW(0, ASSOCSTR_EXECUTABLE, extension.c_str(), L"open", nullptr, &units) != S_FALSE) {
        return std::nullopt;
    }
    std::wstring program(units, L'\0');
    if (FAILED(::AssocQueryStringW(0, ASSOCSTR_EXECUTABLE, extension.c_str(), L"open", program.data(),
                                   &units))) {
        return std::nullopt;
    }
    return std::wstring(program.c_str());
}

}  // namespace

std::optional<core::IconLocation> IconLocationFor(const CDecryptedItem& item) {
    // The applications the suite recorded, under its own key, by the item's key.
    std::optional<std::wstring> text =
        TryReadExpandedString(HKEY_LOCAL_MACHINE, kRecordedApplicationsKey, item.Key().c_str());
    if (!text || text->empty()) text = OpeningProgram(item.Name());
    if (!text || text->empty()) return std::nullopt;
    return core::ParseIconLocation(AsU16(*text));
}

IconHandle ExtractSmallIcon(const core::IconLocation& location) {
    HICON small = nullptr;
    const std::wstring file = ToWide(location.file);
    // The count it answers differs between systems for a file that is not there; the icon does not.
    ::ExtractIconExW(file.c_str(), location.index, nullptr, &small, 1);
    return IconHandle(small);
}
