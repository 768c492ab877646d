#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace core {

// Where the container codec reads from. A short read is not a failure: it returns fewer
// bytes (0 at the end). A failure of the underlying medium is thrown by the implementation
// and passes through the codec unchanged.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
    virtual std::uint64_t Position() = 0;
};

// Where the container codec writes to. Writes are all or nothing; a failure is thrown.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::span<const std::uint8_t> bytes) = 0;
};

// Where content goes when it is only checked, not kept.
class DiscardingSink final : public ByteSink {
public:
    void Write(std::span<const std::uint8_t>) override {}
};

}  // namespace core
