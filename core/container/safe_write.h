#pragma once
#include <cstdint>
#include <span>

#include "core/container/byte_stream.h"

namespace core {

// Something already exists where a new file was to be moved.
struct OutputTaken {};

// A new file written under a temporary name beside its target and moved there only once it is
// complete, so that no reader ever sees half of it under the final name and nothing already
// there is lost. Removed when it goes unless it was committed. Failures of the system are
// thrown in the platform's own way.
class SafeWrite : public ByteSink {
public:
    virtual void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
    // Flushes the content to the disk and moves the file to its target without replacing
    // anything: OutputTaken when the target exists.
    virtual void Commit() = 0;
};

}  // namespace core
