#include "password_secret.h"

#include <vector>

#include "file_key.h"

namespace core {

Md4Digest PasswordSecret(std::u16string_view password) {
    std::vector<std::uint8_t> units;
    units.reserve((password.size() + 1) * 2);
    for (const char16_t unit : password) {
        units.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        units.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    units.insert(units.end(), {0, 0});
    const Md4Digest digest = Md4Of(units);
    SecureZero(units);
    return digest;
}

bool SameSecret(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    if (a.size() != b.size()) return false;
    std::uint8_t difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i) difference |= a[i] ^ b[i];
    return difference == 0;
}

}  // namespace core
