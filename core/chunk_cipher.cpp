#include "chunk_cipher.h"

#include <algorithm>
#include <stdexcept>

#include "file_key.h"
#include "secure_bytes.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <emmintrin.h>
#define ZT_SSE2_LOOP 1
// The 32-bit Windows ABI keeps the stack only 4-byte aligned, and SSE2 code may keep its
// registers in 16-byte aligned stack slots: the entry realigns it.
#if defined(__i386__)
#define ZT_SSE2_ENTRY __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define ZT_SSE2_ENTRY __attribute__((target("sse2")))
#endif
#endif

namespace core {
namespace {

// The checksum is taken of the plain bytes: the input when enciphering, the output when
// deciphering.
enum class Summed { Input, Output };

template <Summed kSummed>
std::uint64_t XorPlain(const std::uint8_t* __restrict keystream, std::uint8_t* __restrict data,
                       std::size_t size, std::uint64_t sum) {
    for (std::size_t offset = 0; offset < size; offset += kChunkSize) {
        const std::size_t length = std::min(kChunkSize, size - offset);
        std::uint8_t* chunk = data + offset;
        // A chunk sums to at most 255 * 1024, which 32 bits hold; a narrow sum vectorises better.
        std::uint32_t chunkSum = 0;
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint8_t in = chunk[i];
            const std::uint8_t out = in ^ keystream[i];
            chunk[i] = out;
            chunkSum += kSummed == Summed::Input ? in : out;
        }
        sum += chunkSum;
    }
    return sum;
}

#ifdef ZT_SSE2_LOOP
template <Summed kSummed>
ZT_SSE2_ENTRY std::uint64_t XorSse2(const std::uint8_t* keystream, std::uint8_t* data, std::size_t size,
                                    std::uint64_t sum) {
    const __m128i zero = _mm_setzero_si128();
    // PSADBW sums each 8-byte half of a block into one of these two 64-bit lanes.
    __m128i totals = zero;
    for (std::size_t offset = 0; offset < size; offset += kChunkSize) {
        const std::size_t length = std::min(kChunkSize, size - offset);
        std::uint8_t* chunk = data + offset;
        std::size_t i = 0;
        for (; i + sizeof(__m128i) <= length; i += sizeof(__m128i)) {
            const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk + i));
            const __m128i out =
                _mm_xor_si128(in, _mm_loadu_si128(reinterpret_cast<const __m128i*>(keystream + i)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(chunk + i), out);
            totals = _mm_add_epi64(totals, _mm_sad_epu8(kSummed == Summed::Input ? in : out, zero));
        }
        // Only the last chunk of a payload can end inside a block.
        if (i < length) sum = XorPlain<kSummed>(keystream + i, chunk + i, length - i, sum);
    }
    std::uint64_t lanes[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), totals);
    return sum + lanes[0] + lanes[1];
}
#endif

bool ProcessorHasSse2() {
#ifdef ZT_SSE2_LOOP
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (edx & bit_SSE2) != 0;
#else
    return false;
#endif
}

template <Summed kSummed>
std::uint64_t Xor(XorLoop loop, const std::uint8_t* keystream, std::span<std::uint8_t> data,
                  std::uint64_t sum) {
#ifdef ZT_SSE2_LOOP
    if (loop == XorLoop::Sse2) return XorSse2<kSummed>(keystream, data.data(), data.size(), sum);
#endif
    return XorPlain<kSummed>(keystream, data.data(), data.size(), sum);
}

}  // namespace

bool CanRun(XorLoop loop) {
    static const bool sse2 = ProcessorHasSse2();
    return loop == XorLoop::Plain || sse2;
}

XorLoop FastestXorLoop() {
    return CanRun(XorLoop::Sse2) ? XorLoop::Sse2 : XorLoop::Plain;
}

ChunkCipher::ChunkCipher(Keystream keystream, XorLoop loop) : loop_(loop) {
    if (!CanRun(loop)) throw std::invalid_argument("a loop this processor does not run");
    std::copy(keystream.begin(), keystream.end(), keystream_.begin());
}

ChunkCipher::~ChunkCipher() {
    SecureZero(keystream_);
}

std::uint64_t ChunkCipher::Encipher(std::span<std::uint8_t> data, std::uint64_t sum) const {
    return Xor<Summed::Input>(loop_, keystream_.data(), data, sum);
}

std::uint64_t ChunkCipher::Decipher(std::span<std::uint8_t> data, std::uint64_t sum) const {
    return Xor<Summed::Output>(loop_, keystream_.data(), data, sum);
}

ChunkCipher ChunkCipherOf(Rc4 key, XorLoop loop) {
    SecureBytes keystream(kChunkSize);
    key.Restart();
    key.Apply(keystream.Bytes());
    return ChunkCipher(keystream.Bytes().first<kChunkSize>(), loop);
}

}  // namespace core
