#pragma once
#include <cstdint>
#include <span>

namespace core {

// Whether a list of a file's streams, as NTFS gives it (FILE_STREAM_INFORMATION records: the
// offset of the next record, the name's length in bytes, two 64-bit sizes, then the UTF-16
// name), names a stream other than the unnamed data stream "::$DATA". A record that runs past
// the list counts as a named stream: a list the system cut short held more than one.
bool ListsNamedStream(std::span<const std::uint8_t> streamList);

}  // namespace core
