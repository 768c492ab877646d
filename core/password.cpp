#include "password.h"

#include <algorithm>
#include <utility>

#include "file_key.h"
#include "secure_bytes.h"
#include "utf8.h"

namespace core {
namespace {

void Zero(std::u16string& units) {
    SecureZero(std::span(reinterpret_cast<std::uint8_t*>(units.data()), units.size() * sizeof(char16_t)));
}

}  // namespace

Password Password::FromLine(std::span<const std::uint8_t> text) {
    std::span<const std::uint8_t> line =
        text.first(static_cast<std::size_t>(std::find(text.begin(), text.end(), '\n') - text.begin()));
    if (!line.empty() && line.back() == '\r') line = line.first(line.size() - 1);
    return Password(Utf8ToUtf16(line));
}

Password Password::FromUtf16(std::u16string_view text) {
    return Password(std::u16string(text));
}

Password::Password(std::u16string&& units) : units_(units) {
    Zero(units);
}

Password::~Password() {
    Zero(units_);
}

Password::Password(Password&& other) : Password(std::move(other.units_)) {}

Md4Digest Password::Secret() const {
    SecureBytes bytes((units_.size() + 1) * 2);
    const std::span<std::uint8_t> out = bytes.Bytes();
    for (std::size_t i = 0; i < units_.size(); ++i) {
        out[2 * i] = static_cast<std::uint8_t>(units_[i]);
        out[2 * i + 1] = static_cast<std::uint8_t>(units_[i] >> 8);
    }
    return Md4Of(out);
}

}  // namespace core
