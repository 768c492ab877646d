#include "dashboard/rules/icon_location.h"

#include <algorithm>
#include <optional>

#include "core/text/decimal_number.h"

namespace core {

IconLocation ParseIconLocation(std::u16string_view text) {
    IconLocation location;
    std::u16string_view file = text;
    if (const std::size_t comma = text.rfind(u','); comma != std::u16string_view::npos) {
        const std::u16string_view tail = text.substr(comma + 1);
        const std::optional<std::int32_t> index = LeadingInteger(tail);
        if ((index && *index != 0) || tail == u"0") {
            location.index = index.value_or(0);
            file = text.substr(0, comma);
        }
    }
    location.file.reserve(file.size());
    std::copy_if(file.begin(), file.end(), std::back_inserter(location.file),
                 [](char16_t c) { return c != u'"'; });
    return location;
}

}  // namespace core
