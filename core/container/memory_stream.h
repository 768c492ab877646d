#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/container/byte_stream.h"

namespace core {

// A header held in memory: what the tests and the fuzzer feed the codec, and how a tool
// builds a header before it goes to disk.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Read(std::span<std::uint8_t> buffer) override {
        const auto chunk = bytes_.subspan(position_, std::min(buffer.size(), bytes_.size() - position_));
        std::copy(chunk.begin(), chunk.end(), buffer.begin());
        position_ += chunk.size();
        return chunk.size();
    }
    std::uint64_t Position() override { return position_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

class MemorySink final : public ByteSink {
public:
    void Write(std::span<const std::uint8_t> bytes) override {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace core
