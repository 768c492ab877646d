// Arbitrary bytes through the obfuscated-blob parser. What it accepts must lie inside the
// input, be built again into a blob that reads back the same, and decipher into bytes that
// encipher back into the ciphertext.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/crypto/obfuscated_blob.h"
#include "core/crypto/xtea_feedback.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

constexpr core::ObfuscationKey kKey{0x5a, 0x54, 0x4f, 0x41, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const auto parsed = core::ParseObfuscatedBlob(input);
    if (!parsed) return 0;
    const auto cipher = parsed->ciphertext;
    Require(cipher.empty() || (cipher.data() >= data && cipher.data() + cipher.size() <= data + size));

    const auto rebuilt = core::BuildObfuscatedBlob(parsed->iv, cipher);
    const auto reread = core::ParseObfuscatedBlob(rebuilt);
    Require(reread && reread->iv == parsed->iv && std::ranges::equal(reread->ciphertext, cipher));

    std::vector<std::uint8_t> plain(cipher.size());
    core::XteaFeedbackDecipher(cipher, kKey, parsed->iv, plain);
    Require(std::ranges::equal(core::XteaFeedbackEncipher(plain, kKey, parsed->iv), cipher));
    return 0;
}
