#include "core/text/der.h"

namespace core {
namespace {

constexpr std::uint8_t kLongLength = 0x80;
constexpr std::size_t kMaxLengthBytes = 4;

// The length's own bytes, then the content length they give.
std::optional<std::size_t> TakeLength(std::span<const std::uint8_t>& input) {
    if (input.empty()) return std::nullopt;
    const std::uint8_t first = input[0];
    input = input.subspan(1);
    if (first < kLongLength) return first;
    const std::size_t count = first & 0x7f;
    if (count == 0 || count > kMaxLengthBytes || count > input.size()) return std::nullopt;
    std::uint64_t length = 0;
    for (std::size_t i = 0; i < count; ++i) length = (length << 8) | input[i];
    input = input.subspan(count);
    return static_cast<std::size_t>(length);
}

}  // namespace

std::optional<DerElement> TakeDerElement(std::span<const std::uint8_t>& input) {
    if (input.empty()) return std::nullopt;
    std::span<const std::uint8_t> rest = input.subspan(1);
    const std::optional<std::size_t> length = TakeLength(rest);
    if (!length || *length > rest.size()) return std::nullopt;
    const DerElement element{input[0], rest.first(*length)};
    input = rest.subspan(*length);
    return element;
}

void AppendDerElement(std::vector<std::uint8_t>& out, std::uint8_t tag,
                      std::span<const std::uint8_t> content) {
    out.push_back(tag);
    const std::size_t size = content.size();
    if (size < kLongLength) {
        out.push_back(static_cast<std::uint8_t>(size));
    } else {
        std::size_t count = 0;
        for (std::size_t rest = size; rest != 0; rest >>= 8) ++count;
        out.push_back(static_cast<std::uint8_t>(kLongLength | count));
        for (std::size_t i = count; i-- > 0;) out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    }
    for (std::uint8_t byte : content) out.push_back(byte);
}

}  // namespace core
