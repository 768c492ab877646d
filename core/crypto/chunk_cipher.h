#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/container/payload.h"
#include "core/crypto/rc4.h"

namespace core {

// The forms of the payload's inner loop: plain C++ for every processor, and SSE2 for those
// that have it. The shipped 32-bit programs must still start on processors without SSE2, so
// the choice is made at run time.
enum class XorLoop { Plain, Sse2 };

// True when this build has the loop and the processor runs it.
bool CanRun(XorLoop loop);
// The fastest loop this processor runs, decided once.
XorLoop FastestXorLoop();

// Every chunk of a payload is enciphered from the key's initial state, so every chunk of
// every file of one key is XORed with the same first kChunkSize bytes of its key stream.
// Holding those bytes, a payload is enciphered at the speed of memory, and its checksum is
// taken in the same pass. The bytes are a secret: zeroed when the cipher goes.
class ChunkCipher {
public:
    using Keystream = std::span<const std::uint8_t, kChunkSize>;

    // keystream: the first kChunkSize bytes of the key's stream from its initial state.
    explicit ChunkCipher(Keystream keystream, XorLoop loop = FastestXorLoop());
    ~ChunkCipher();
    ChunkCipher(const ChunkCipher&) = default;
    ChunkCipher& operator=(const ChunkCipher&) = default;

    // Both take data found at the given position of the payload, so that a payload may be
    // cut into buffers anywhere, and return sum plus the sum of the plain bytes (the
    // container's checksum), modulo 2^64.
    std::uint64_t Encipher(std::span<std::uint8_t> data, std::uint64_t position, std::uint64_t sum) const;
    std::uint64_t Decipher(std::span<std::uint8_t> data, std::uint64_t position, std::uint64_t sum) const;

private:
    alignas(16) std::array<std::uint8_t, kChunkSize> keystream_;
    XorLoop loop_;
};

// The chunk cipher of an RC4 key: its key stream from the initial state, whatever state
// the key is in.
ChunkCipher ChunkCipherOf(Rc4 key, XorLoop loop = FastestXorLoop());

}  // namespace core
