#include "decimal_number.h"

#include <limits>

namespace core {

std::optional<int> DecimalNumber(std::u16string_view text) {
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > std::numeric_limits<int>::max()) return std::nullopt;
    }
    return static_cast<int>(value);
}

}  // namespace core
