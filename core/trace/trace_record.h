#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// One binary record of a trace file: writing thread (32-bit), type letter, 16-bit text
// length, all little-endian, then the text, which is enciphered in the file.
namespace core {

inline constexpr std::size_t kTraceRecordPrefix = 7;
inline constexpr std::size_t kMaxTraceRecordText = 0xFFFF;

struct TraceRecordPrefix {
    std::uint32_t thread = 0;
    char type = 0;
    std::uint16_t length = 0;
};

// Writes prefix and plain text into buffer and returns the record's size. The text is cut to
// what the buffer and the length field hold; a buffer shorter than a prefix gets nothing (0).
std::size_t EncodeTraceRecord(std::span<std::uint8_t> buffer, std::uint32_t thread, char type,
                              std::string_view text);

// The prefix at the start of bytes, or nothing when fewer than a prefix's bytes remain.
std::optional<TraceRecordPrefix> DecodeTraceRecordPrefix(std::span<const std::uint8_t> bytes);

// Enciphers or deciphers a record's text in place (the same operation): the keystream is
// restarted for every record, so records can be read without the ones before them.
void CipherTraceRecordText(std::span<std::uint8_t> text);

}  // namespace core
