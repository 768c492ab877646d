#pragma once
#include <string>
#include <string_view>

namespace core {

// Resource texts name the product with this placeholder; branding decides the name.
inline constexpr std::u16string_view kProductNamePlaceholder = u"<<%PN%>>";

// Whether the text may hold a placeholder at all; only then is the product name looked up.
bool MayHoldPlaceholder(std::u16string_view text);

// Every placeholder replaced by the name, left to right. The search goes on after each
// inserted name, so a name that itself contains the placeholder is not expanded again.
std::u16string InsertProductName(std::u16string_view text, std::u16string_view name);

}  // namespace core
