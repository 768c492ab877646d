#pragma once
// How the system glue reads a password line, from a terminal, a file or a pipe alike.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/crypto/password.h"
#include "core/crypto/secure_bytes.h"

namespace ztrec {

// Room for more than the longest password the suite takes (256 characters of at most 4
// bytes), so that one too long is seen as such rather than cut to fit.
inline constexpr std::size_t kPasswordLineBytes = 4096;

// Reads up to the first line feed, the end of the input or a full buffer, and returns the
// units read, line feed included. readSome(buffer) reads what is there into the buffer and
// returns how many units it read, 0 at the end of the input.
template <class Unit, class ReadSome>
std::size_t ReadLine(std::span<Unit> buffer, ReadSome readSome) {
    std::size_t length = 0;
    while (length < buffer.size()) {
        const std::span<Unit> fresh = buffer.subspan(length, readSome(buffer.subspan(length)));
        if (fresh.empty()) break;
        length += fresh.size();
        if (std::find(fresh.begin(), fresh.end(), Unit('\n')) != fresh.end()) break;
    }
    return length;
}

// The password on the first line of UTF-8 text; the buffer is zeroed when it goes.
template <class ReadSome>
core::Password ReadPasswordLine(ReadSome readSome) {
    core::SecureBytes line(kPasswordLineBytes);
    return core::Password::FromLine(line.Bytes().first(ReadLine(line.Bytes(), readSome)));
}

}  // namespace ztrec
