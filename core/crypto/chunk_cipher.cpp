#include "core/crypto/chunk_cipher.h"

#include <algorithm>
#include <stdexcept>

#include "core/crypto/file_key.h"
#include "core/crypto/secure_bytes.h"

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

// A segment is the part of one chunk that a buffer holds, with the key stream from the same
// place in the chunk; each loop works on one segment per call and returns the sum with the
// segment's plain bytes added.
using Segment = std::uint64_t (*)(const std::uint8_t* keystream, std::uint8_t* data, std::size_t length,
                                  std::uint64_t sum);

template <Summed kSummed>
std::uint64_t PlainSegment(const std::uint8_t* __restrict keystream, std::uint8_t* __restrict data,
                           std::size_t length, std::uint64_t sum) {
    // A chunk sums to at most 255 * 1024, which 32 bits hold; a narrow sum vectorises better.
    std::uint32_t segmentSum = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t in = data[i];
        const std::uint8_t out = in ^ keystream[i];
        data[i] = out;
        segmentSum += kSummed == Summed::Input ? in : out;
    }
    return sum + segmentSum;
}

#ifdef ZT_SSE2_LOOP
template <Summed kSummed>
ZT_SSE2_ENTRY std::uint64_t Sse2Segment(const std::uint8_t* keystream, std::uint8_t* data, std::size_t length,
                                        std::uint64_t sum) {
    const __m128i zero = _mm_setzero_si128();
    // PSADBW sums each 8-byte half of a block into one of these two 64-bit lanes.
    __m128i totals = zero;
    std::size_t i = 0;
    for (; i + sizeof(__m128i) <= length; i += sizeof(__m128i)) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i out =
            _mm_xor_si128(in, _mm_loadu_si128(reinterpret_cast<const __m128i*>(keystream + i)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(data + i), out);
        totals = _mm_add_epi64(totals, _mm_sad_epu8(kSummed == Summed::Input ? in : out, zero));
    }
    std::uint64_t lanes[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), totals);
    return PlainSegment<kSummed>(keystream + i, data + i, length - i, sum + lanes[0] + lanes[1]);
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
Segment SegmentLoop(XorLoop loop) {
#ifdef ZT_SSE2_LOOP
    if (loop == XorLoop::Sse2) return &Sse2Segment<kSummed>;
#endif
    return &PlainSegment<kSummed>;
}

template <Summed kSummed>
std::uint64_t Xor(XorLoop loop, const std::uint8_t* keystream, std::span<std::uint8_t> data,
                  std::uint64_t position, std::uint64_t sum) {
    const Segment segment = SegmentLoop<kSummed>(loop);
    std::size_t inChunk = static_cast<std::size_t>(position % kChunkSize);
    for (std::size_t offset = 0; offset < data.size(); inChunk = 0) {
        const std::size_t length = std::min(kChunkSize - inChunk, data.size() - offset);
        sum = segment(keystream + inChunk, data.data() + offset, length, sum);
        offset += length;
    }
    return sum;
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

std::uint64_t ChunkCipher::Encipher(std::span<std::uint8_t> data, std::uint64_t position,
                                    std::uint64_t sum) const {
    return Xor<Summed::Input>(loop_, keystream_.data(), data, position, sum);
}

std::uint64_t ChunkCipher::Decipher(std::span<std::uint8_t> data, std::uint64_t position,
                                    std::uint64_t sum) const {
    return Xor<Summed::Output>(loop_, keystream_.data(), data, position, sum);
}

ChunkCipher ChunkCipherOf(Rc4 key, XorLoop loop) {
    SecureBytes keystream(kChunkSize);
    key.Restart();
    key.Apply(keystream.Bytes());
    return ChunkCipher(keystream.Bytes().first<kChunkSize>(), loop);
}

}  // namespace core
