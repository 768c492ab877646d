#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/crypto/xtea_feedback.h"

namespace core {

inline constexpr std::string_view kObfuscatedBlobTag = "ZTOA";
inline constexpr std::uint32_t kObfuscatedBlobVersion = 4;

// An obfuscated blob: "ZTOA", then a DER SEQUENCE of the version (INTEGER, 4) and an OCTET
// STRING that wraps a SEQUENCE of the initial vector and the ciphertext (both OCTET STRING;
// the ciphertext may be left out, meaning empty).
struct ObfuscatedBlob {
    XteaBlock iv{};
    std::span<const std::uint8_t> ciphertext;  // within the parsed bytes
};

// Nothing for anything malformed, for another version, and for an initial vector of fewer than
// 8 bytes (only its first 8 are used). Bytes after either SEQUENCE, or a third element of
// the inner one, make the blob malformed as well: a blob is only accepted whole.
std::optional<ObfuscatedBlob> ParseObfuscatedBlob(std::span<const std::uint8_t> blob);

// The blob ParseObfuscatedBlob reads back; the ciphertext element is always written.
std::vector<std::uint8_t> BuildObfuscatedBlob(XteaBlock iv, std::span<const std::uint8_t> ciphertext);

}  // namespace core
