#include "win/registry_names.h"

namespace {

// Key names are at most this long; an enumeration buffer of this size never falls short.
constexpr DWORD kMaxKeyName = 255;

}  // namespace

std::vector<std::wstring> SubKeyNames(HKEY key) {
    std::vector<std::wstring> names;
    if (!key) return names;
    std::wstring name(kMaxKeyName + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD units = static_cast<DWORD>(name.size());
        if (::RegEnumKeyExW(key, index, name.data(), &units, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        names.emplace_back(name.data(), units);
    }
}
