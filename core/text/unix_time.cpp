#include "core/text/unix_time.h"

#include <algorithm>
#include <limits>

namespace core {
namespace {

constexpr std::uint64_t kUnixEpochAsFileTime = 0x019DB1DED53E8000;  // 1970-01-01
constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint32_t kMaxSeconds = std::numeric_limits<std::uint32_t>::max();

bool IsXmlWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

}  // namespace

std::uint32_t FileTimeToUnixSeconds(std::uint64_t fileTime) {
    if (fileTime < kUnixEpochAsFileTime) return 0;
    const std::uint64_t seconds = (fileTime - kUnixEpochAsFileTime) / kTicksPerSecond;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(seconds, kMaxSeconds));
}

std::uint64_t UnixSecondsToFileTime(std::uint32_t seconds) {
    return kUnixEpochAsFileTime + seconds * kTicksPerSecond;
}

std::optional<std::uint32_t> ParseUnixSeconds(std::u16string_view text) {
    while (!text.empty() && IsXmlWhiteSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsXmlWhiteSpace(text.back())) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > kMaxSeconds) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace core
