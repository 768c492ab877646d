#include "core/text/text_format.h"

namespace core {

namespace {

// Length of the conversion at text[0] ("%s" or "%ls"), or 0 when it is none.
std::size_t StringConversionLength(std::u16string_view text) {
    if (text.starts_with(u"%s")) return 2;
    if (text.starts_with(u"%ls")) return 3;
    return 0;
}

}  // namespace

std::u16string FormatText(std::u16string_view format, std::initializer_list<std::u16string_view> args) {
    std::u16string out;
    auto next = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        const std::u16string_view rest = format.substr(i);
        if (rest.starts_with(u"%%")) {
            out += u'%';
            i += 2;
        } else if (std::size_t length = StringConversionLength(rest)) {
            if (next != args.end()) out += *next++;
            i += length;
        } else {
            out += format[i++];
        }
    }
    return out;
}

std::u16string_view TruncateText(std::u16string_view text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) return text;
    std::size_t length = maxUnits;
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
    return text.substr(0, length);
}

}  // namespace core
