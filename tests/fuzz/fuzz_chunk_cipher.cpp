// Arbitrary keys and payloads through every loop of the chunk cipher this processor runs, the
// payload cut into two buffers where the input chooses. Each must give the bytes of RC4
// restarted at every chunk and the plain bytes' sum, and decipher back; any difference aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/container/payload.h"
#include "core/crypto/chunk_cipher.h"
#include "core/crypto/rc4.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

// Enciphers (or deciphers) the payload as two buffers, cut after the given number of bytes.
std::uint64_t InTwoBuffers(const core::ChunkCipher& cipher, bool encipher, std::span<std::uint8_t> data,
                           std::size_t cut) {
    cut = std::min(cut, data.size());
    const auto run = [&](std::span<std::uint8_t> part, std::uint64_t position, std::uint64_t sum) {
        return encipher ? cipher.Encipher(part, position, sum) : cipher.Decipher(part, position, sum);
    };
    return run(data.subspan(cut), cut, run(data.first(cut), 0, 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::size_t keySize = data[0] % 16 + 1;
    const std::size_t cut = (data[1] | data[2] << 8) % 4500;
    if (size < 3 + keySize) return 0;
    const std::span<const std::uint8_t> key(data + 3, keySize);
    const std::vector<std::uint8_t> plain(data + 3 + keySize, data + size);

    std::vector<std::uint8_t> expected = plain;
    core::Rc4 reference(key);
    core::CipherChunks(reference, expected);
    const std::uint64_t sum = core::AddToChecksum(0, plain);

    for (const core::XorLoop loop : {core::XorLoop::Plain, core::XorLoop::Sse2}) {
        if (!core::CanRun(loop)) continue;
        const core::ChunkCipher cipher = core::ChunkCipherOf(core::Rc4(key), loop);
        std::vector<std::uint8_t> bytes = plain;
        Require(InTwoBuffers(cipher, true, bytes, cut) == sum);
        Require(bytes == expected);
        Require(InTwoBuffers(cipher, false, bytes, cut) == sum);
        Require(bytes == plain);
    }
    return 0;
}
