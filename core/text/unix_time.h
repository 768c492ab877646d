#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace core {

// Times as FILETIME values (100 ns units since 1601-01-01 UTC) and as 32-bit unsigned
// seconds since 1970-01-01 UTC, the form the decrypted-items file stores.

// Truncated to whole seconds; times before 1970 give 0 and times past the 32-bit range its
// last second, rather than wrapping to an unrelated date.
std::uint32_t FileTimeToUnixSeconds(std::uint64_t fileTime);
std::uint64_t UnixSecondsToFileTime(std::uint32_t seconds);

// Decimal digits only (surrounding XML white space allowed) that fit 32 bits; anything
// else, a sign or trailing text included, is not a time.
std::optional<std::uint32_t> ParseUnixSeconds(std::u16string_view text);

}  // namespace core
