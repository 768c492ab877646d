#include "core/trace/printf_format.h"

namespace core {
namespace {

constexpr std::u16string_view kFlagsWidthPrecision = u"-+ #0123456789.*";
constexpr std::u16string_view kSizePrefixes = u"hlLwIjzt";

// Index just past the run of characters of the given class, starting at i.
std::size_t SkipAll(std::u16string_view text, std::size_t i, std::u16string_view allowed) {
    while (i < text.size() && allowed.find(text[i]) != std::u16string_view::npos) ++i;
    return i;
}

}  // namespace

std::u16string NarrowStringConversions(std::u16string_view format) {
    std::u16string out;
    out.reserve(format.size() + 8);
    std::size_t i = 0;
    while (i < format.size()) {
        if (format[i] != u'%') {
            out += format[i++];
            continue;
        }
        const std::size_t sizeStart = SkipAll(format, i + 1, kFlagsWidthPrecision);
        const std::size_t conversion = SkipAll(format, sizeStart, kSizePrefixes);
        out.append(format.substr(i, conversion - i));
        if (conversion == format.size()) break;
        const char16_t c = format[conversion];
        if ((c == u's' || c == u'c') && sizeStart == conversion) out += u'h';
        out += c;
        i = conversion + 1;
    }
    return out;
}

}  // namespace core
