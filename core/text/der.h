#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace core {

inline constexpr std::uint8_t kDerInteger = 0x02;
inline constexpr std::uint8_t kDerOctetString = 0x04;
inline constexpr std::uint8_t kDerSequence = 0x30;

struct DerElement {
    std::uint8_t tag = 0;
    std::span<const std::uint8_t> content;
};

// Takes one definite-length element off the front of input. Nothing, and input unchanged, when
// the element is cut short or its length is indefinite or wider than 32 bits: the content
// never reaches past the bytes given.
std::optional<DerElement> TakeDerElement(std::span<const std::uint8_t>& input);

// Appends one element with the shortest length encoding.
void AppendDerElement(std::vector<std::uint8_t>& out, std::uint8_t tag,
                      std::span<const std::uint8_t> content);

}  // namespace core
