// Arbitrary bytes through the trace file reader. Whatever it reads must write back to exactly
// the bytes it consumed, a cut record must start where the consumed bytes end, and no record
// may print across more than one line; any difference aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/trace/trace_dump.h"
#include "core/trace/trace_file_reader.h"
#include "core/trace/trace_record.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

std::vector<std::uint8_t> Rewritten(const core::TraceFile& file) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& line : file.header) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.insert(bytes.end(), {'\r', '\n'});
    }
    for (const core::TraceRecord& record : file.records) {
        Require(record.offset == bytes.size());
        std::vector<std::uint8_t> encoded(core::kTraceRecordPrefix + record.text.size());
        Require(core::EncodeTraceRecord(encoded, record.thread, record.type, record.text) == encoded.size());
        core::CipherTraceRecordText(std::span(encoded).subspan(core::kTraceRecordPrefix));
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
        Require(core::TraceRecordLine(record).find('\n') == std::string::npos);
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const core::TraceFile file = core::ReadTraceFile(bytes);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Require((file.status == core::TraceFileStatus::NotATraceFile) != text.starts_with("trace3\r\n"));
    if (file.status == core::TraceFileStatus::NotATraceFile ||
        file.status == core::TraceFileStatus::UnterminatedHeader) {
        Require(file.records.empty());
        return 0;
    }
    Require(file.header.front() == "trace3" && file.header.back() == ".");
    const std::vector<std::uint8_t> consumed = Rewritten(file);
    const bool truncated = file.status == core::TraceFileStatus::TruncatedRecord;
    Require(consumed.size() == (truncated ? file.truncatedOffset : size));
    Require(std::equal(consumed.begin(), consumed.end(), data));
    if (truncated) {
        Require(file.truncatedBytes == size - consumed.size());
        Require(file.truncatedBytes < file.truncatedNeeded);
    }
    return 0;
}
