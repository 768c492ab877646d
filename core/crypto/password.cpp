#include "core/crypto/password.h"

#include <algorithm>
#include <utility>

#include "core/crypto/file_key.h"
#include "core/crypto/secure_bytes.h"
#include "core/text/utf8.h"

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

Md4Digest PasswordSecret(std::u16string_view password) {
    SecureBytes bytes((password.size() + 1) * 2);
    const std::span<std::uint8_t> out = bytes.Bytes();
    for (std::size_t i = 0; i < password.size(); ++i) {
        out[2 * i] = static_cast<std::uint8_t>(password[i]);
        out[2 * i + 1] = static_cast<std::uint8_t>(password[i] >> 8);
    }
    return Md4Of(out);
}

bool SameSecret(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    if (a.size() != b.size()) return false;
    std::uint8_t difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) difference |= a[i] ^ b[i];
    return difference == 0;
}

}  // namespace core
