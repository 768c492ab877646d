#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/crypto/md4.h"

namespace core {

// The suite's password dialogs take at most this many characters.
inline constexpr std::size_t kMaxPasswordLength = 256;

// The secret a password becomes (the first-use secret and the recovery secret alike): the MD4
// digest of the password's UTF-16LE units and its terminating zero unit.
Md4Digest PasswordSecret(std::u16string_view password);

// Whether two secrets are equal, in a time that does not depend on where they differ, so that
// timing a refusal tells nothing about the stored secret. Secrets of different lengths differ.
bool SameSecret(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

// A password as the suite's dialogs see it, in UTF-16; overwritten with zeros when it goes.
class Password {
public:
    // The first line of text read from a terminal, a file or a pipe, in UTF-8: it ends at the
    // first line feed, with one carriage return before it dropped, so that a file written on
    // Windows gives the same password.
    static Password FromLine(std::span<const std::uint8_t> text);
    static Password FromUtf16(std::u16string_view text);

    ~Password();
    Password(Password&& other);
    Password(const Password&) = delete;
    Password& operator=(const Password&) = delete;

    bool Empty() const { return units_.empty(); }
    bool TooLong() const { return units_.size() > kMaxPasswordLength; }
    bool operator==(const Password& other) const { return units_ == other.units_; }

    Md4Digest Secret() const { return PasswordSecret(units_); }

private:
    // Takes the units over and zeroes what is left of them.
    explicit Password(std::u16string&& units);
    std::u16string units_;
};

}  // namespace core
