#include "store/decrypted_item.h"

#include "win/hresult.h"

CDecryptedItem::CDecryptedItem(std::wstring name, bool isFolder)
    : name_(std::move(name)), key_(KeyOf(name_)), isFolder_(isFolder) {}

std::wstring CDecryptedItem::KeyOf(std::wstring_view name) {
    if (name.empty()) return {};
    const int length = static_cast<int>(name.size());
    const int units = ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name.data(), length, nullptr, 0);
    if (units <= 0) ThrowLastError();
    std::wstring key(static_cast<std::size_t>(units), L'\0');
    if (::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, name.data(), length, key.data(), units) != units) {
        ThrowLastError();
    }
    return key;
}
