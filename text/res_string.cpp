#include "text/res_string.h"

#include <optional>
#include <span>

#include "core/text/product_name.h"
#include "core/text/string_table_block.h"
#include "text/branding.h"
#include "text/resource_module.h"
#include "win/wide_text.h"

namespace {

HRSRC FindStringBlock(HMODULE module, UINT id) {
    const wchar_t* block = MAKEINTRESOURCEW(id / 16 + 1);
    const WORD userLanguage = MAKELANGID(PRIMARYLANGID(::GetUserDefaultUILanguage()), SUBLANG_NEUTRAL);
    for (WORD language : {WORD{MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)}, userLanguage}) {
        if (HRSRC found = ::FindResourceExW(module, RT_STRING, block, language)) return found;
    }
    return ::FindResourceW(module, block, RT_STRING);
}

// The entry straight from its block, so that its length is not bound by a buffer.
std::optional<std::u16string> EntryFromBlock(HMODULE module, UINT id) {
    const HRSRC found = FindStringBlock(module, id);
    if (!found) return std::nullopt;
    const HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return std::nullopt;
    const std::span block(static_cast<const std::uint8_t*>(data), ::SizeofResource(module, found));
    return core::StringTableEntry(block, id % 16);
}

std::u16string RawString(HMODULE module, UINT id) {
    std::optional<std::u16string> entry = EntryFromBlock(module, id);
    if (entry && !entry->empty()) return *entry;
    wchar_t buffer[MAX_PATH] = {};
    const int length = ::LoadStringW(module, id, buffer, MAX_PATH);
    return ToU16(std::wstring_view(buffer, length > 0 ? length : 0));
}

}  // namespace

std::wstring LoadResString(UINT id) {
    return LoadResString(id, CBranding::Process());
}

std::wstring LoadResString(UINT id, CBranding& branding) {
    const std::u16string text = RawString(ResourceModule(), id);
    if (!core::MayHoldPlaceholder(text)) return ToWide(text);
    return ToWide(core::InsertProductName(text, ToU16(branding.ProductName())));
}
