#include "core/crypto/obfuscated_blob.h"

#include <algorithm>
#include <array>

#include "core/text/der.h"

namespace core {
namespace {

constexpr std::size_t kIvSize = 8;

std::optional<std::span<const std::uint8_t>> TakeContent(std::span<const std::uint8_t>& input,
                                                         std::uint8_t tag) {
    const std::optional<DerElement> element = TakeDerElement(input);
    if (!element || element->tag != tag) return std::nullopt;
    return element->content;
}

// The sequence's content when it is the whole of input.
std::optional<std::span<const std::uint8_t>> WholeSequence(std::span<const std::uint8_t> input) {
    const auto content = TakeContent(input, kDerSequence);
    if (!content || !input.empty()) return std::nullopt;
    return content;
}

bool IsVersion(std::span<const std::uint8_t> integer, std::uint32_t version) {
    if (integer.empty()) return false;
    while (integer.size() > 1 && integer[0] == 0) integer = integer.subspan(1);
    return integer.size() == 1 && integer[0] == version;
}

std::optional<ObfuscatedBlob> ParsePayload(std::span<const std::uint8_t> payload) {
    auto elements = WholeSequence(payload);
    if (!elements) return std::nullopt;
    const auto iv = TakeContent(*elements, kDerOctetString);
    if (!iv || iv->size() < kIvSize) return std::nullopt;
    ObfuscatedBlob blob{XteaBlockFromBytes(iv->first<kIvSize>()), {}};
    if (elements->empty()) return blob;
    const auto ciphertext = TakeContent(*elements, kDerOctetString);
    if (!ciphertext || !elements->empty()) return std::nullopt;
    blob.ciphertext = *ciphertext;
    return blob;
}

}  // namespace

std::optional<ObfuscatedBlob> ParseObfuscatedBlob(std::span<const std::uint8_t> blob) {
    if (blob.size() < kObfuscatedBlobTag.size() ||
        !std::equal(kObfuscatedBlobTag.begin(), kObfuscatedBlobTag.end(), blob.begin()))
        return std::nullopt;
    auto elements = WholeSequence(blob.subspan(kObfuscatedBlobTag.size()));
    if (!elements) return std::nullopt;
    const auto version = TakeContent(*elements, kDerInteger);
    if (!version || !IsVersion(*version, kObfuscatedBlobVersion)) return std::nullopt;
    const auto payload = TakeContent(*elements, kDerOctetString);
    if (!payload || !elements->empty()) return std::nullopt;
    return ParsePayload(*payload);
}

std::vector<std::uint8_t> BuildObfuscatedBlob(XteaBlock iv, std::span<const std::uint8_t> ciphertext) {
    std::vector<std::uint8_t> pair;
    AppendDerElement(pair, kDerOctetString, XteaBlockBytes(iv));
    AppendDerElement(pair, kDerOctetString, ciphertext);
    std::vector<std::uint8_t> payload;
    AppendDerElement(payload, kDerSequence, pair);

    const std::array<std::uint8_t, 1> version{kObfuscatedBlobVersion};
    std::vector<std::uint8_t> elements;
    AppendDerElement(elements, kDerInteger, version);
    AppendDerElement(elements, kDerOctetString, payload);
    std::vector<std::uint8_t> blob(kObfuscatedBlobTag.begin(), kObfuscatedBlobTag.end());
    AppendDerElement(blob, kDerSequence, elements);
    return blob;
}

}  // namespace core
