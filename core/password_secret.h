#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "md4.h"

namespace core {

// The secret a new password becomes on first use: the MD4 digest of the password's UTF-16LE
// units and its terminating zero unit.
Md4Digest PasswordSecret(std::u16string_view password);

// Whether two secrets are equal, in a time that does not depend on where they differ, so that
// timing a refusal tells nothing about the stored secret. Secrets of different lengths differ.
bool SameSecret(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

}  // namespace core
