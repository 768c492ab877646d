#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "trace/output.h"
#include "win/unique_handle.h"

namespace trace {

// The trace file. Opening it writes the plain header into a new or emptied file, or an 'N'
// record after the old content of a file that is appended to. A file that cannot be opened
// leaves an output that writes nothing.
class CFileOutput final : public COutput {
public:
    CFileOutput(const std::wstring& path, bool newFileAlways);
    // Enciphers the record's text and appends the record at the end of the file, which other
    // processes of the same program may be writing too.
    void Write(const std::uint8_t* record, std::size_t size) override;

private:
    void Append(const void* bytes, std::size_t size);

    FileHandle file_;
};

}  // namespace trace
