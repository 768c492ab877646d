#include "core/text/product_name.h"

namespace core {

bool MayHoldPlaceholder(std::u16string_view text) {
    return text.find(u"<<%") != std::u16string_view::npos;
}

std::u16string InsertProductName(std::u16string_view text, std::u16string_view name) {
    std::u16string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(kProductNamePlaceholder, from)) != std::u16string_view::npos;) {
        out.append(text.substr(from, at - from)).append(name);
        from = at + kProductNamePlaceholder.size();
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace core
