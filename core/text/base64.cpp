#include "core/text/base64.h"

namespace core {
namespace {

constexpr int kNotADigit = -1;

int DigitValue(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c - u'A';
    if (c >= u'a' && c <= u'z') return c - u'a' + 26;
    if (c >= u'0' && c <= u'9') return c - u'0' + 52;
    if (c == u'+') return 62;
    if (c == u'/') return 63;
    return kNotADigit;
}

bool IsWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Collects 6-bit digits and emits a byte whenever 8 bits are complete.
class BitCollector {
public:
    void Add(int digit) {
        bits_ = (bits_ << 6) | static_cast<std::uint32_t>(digit);
        count_ += 6;
        ++digits_;
        if (count_ >= 8) {
            count_ -= 8;
            bytes_.push_back(static_cast<std::uint8_t>(bits_ >> count_));
            bits_ &= (1u << count_) - 1;
        }
    }
    std::size_t Digits() const { return digits_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::uint32_t bits_ = 0;
    int count_ = 0;
    std::size_t digits_ = 0;
    std::vector<std::uint8_t> bytes_;
};

bool IsCompleteGroup(std::size_t digits, std::size_t padding) {
    if (padding > 0) return padding <= 2 && (digits + padding) % 4 == 0;
    return digits % 4 != 1;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::u16string_view text) {
    BitCollector collector;
    std::size_t padding = 0;
    for (char16_t c : text) {
        if (IsWhiteSpace(c)) continue;
        if (c == u'=') {
            ++padding;
            continue;
        }
        const int digit = DigitValue(c);
        if (digit == kNotADigit || padding > 0) return std::nullopt;
        collector.Add(digit);
    }
    if (!IsCompleteGroup(collector.Digits(), padding)) return std::nullopt;
    return collector.Take();
}

}  // namespace core
