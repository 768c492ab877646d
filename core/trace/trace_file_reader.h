#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Reads a whole trace file: the plain header lines, then the records with their texts
// deciphered. Any bytes are accepted; what does not fit the format is reported, not trusted.
namespace core {

enum class TraceFileStatus {
    Complete,
    TruncatedRecord,     // the last record ends before its text does
    NotATraceFile,       // no "trace3" line at the start
    UnterminatedHeader,  // the header's "." line is missing
};

struct TraceRecord {
    std::uint64_t offset = 0;
    std::uint32_t thread = 0;
    char type = 0;
    std::string text;
    bool operator==(const TraceRecord&) const = default;
};

struct TraceFile {
    TraceFileStatus status = TraceFileStatus::NotATraceFile;
    std::vector<std::string> header;  // without line ends, "trace3" first and "." last
    std::vector<TraceRecord> records;
    // Where a cut last record starts, and how many of its bytes the file holds.
    std::uint64_t truncatedOffset = 0;
    std::size_t truncatedBytes = 0;
    std::size_t truncatedNeeded = 0;
};

TraceFile ReadTraceFile(std::span<const std::uint8_t> bytes);

}  // namespace core
