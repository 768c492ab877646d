#include "core/trace/trace_record.h"

#include <algorithm>

#include "core/crypto/tea_cipher.h"

namespace core {
namespace {

// The key and initial value are not stored as such: they are the successive states of a
// xorshift generator from one seed, built when needed, so that the image holds no key table.
constexpr std::uint32_t kKeySeed = 0x5A545452;

std::uint32_t NextWord(std::uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

}  // namespace

std::size_t EncodeTraceRecord(std::span<std::uint8_t> buffer, std::uint32_t thread, char type,
                              std::string_view text) {
    if (buffer.size() < kTraceRecordPrefix) return 0;
    const std::size_t length =
        std::min({text.size(), buffer.size() - kTraceRecordPrefix, kMaxTraceRecordText});
    for (int i = 0; i < 4; ++i) buffer[i] = static_cast<std::uint8_t>(thread >> (8 * i));
    buffer[4] = static_cast<std::uint8_t>(type);
    buffer[5] = static_cast<std::uint8_t>(length);
    buffer[6] = static_cast<std::uint8_t>(length >> 8);
    std::copy_n(text.begin(), length, buffer.begin() + kTraceRecordPrefix);
    return kTraceRecordPrefix + length;
}

std::optional<TraceRecordPrefix> DecodeTraceRecordPrefix(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kTraceRecordPrefix) return std::nullopt;
    TraceRecordPrefix prefix;
    for (int i = 0; i < 4; ++i) prefix.thread |= std::uint32_t{bytes[i]} << (8 * i);
    prefix.type = static_cast<char>(bytes[4]);
    prefix.length = static_cast<std::uint16_t>(bytes[5] | bytes[6] << 8);
    return prefix;
}

void CipherTraceRecordText(std::span<std::uint8_t> text) {
    std::uint32_t state = kKeySeed;
    TeaKey key;
    for (auto& word : key) word = NextWord(state);
    TeaBlock initial;
    for (auto& word : initial) word = NextWord(state);
    TeaKeystreamXor(text, key, initial);
}

}  // namespace core
