#include "core/trace/trace_file_reader.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/trace/trace_record.h"

namespace core {
namespace {

constexpr std::string_view kFirstLine = "trace3";
constexpr std::string_view kLastLine = ".";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view AsText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Reads header lines up to and including "."; returns the offset after it, or nothing when
// the text ends first.
std::optional<std::size_t> ReadHeaderLines(std::string_view text, std::vector<std::string>& lines) {
    std::size_t position = 0;
    while (true) {
        const std::size_t end = text.find(kLineEnd, position);
        if (end == std::string_view::npos) return std::nullopt;
        lines.emplace_back(text.substr(position, end - position));
        position = end + kLineEnd.size();
        if (lines.back() == kLastLine) return position;
    }
}

void ReadRecords(std::span<const std::uint8_t> bytes, std::size_t position, TraceFile& file) {
    while (position < bytes.size()) {
        const auto rest = bytes.subspan(position);
        const std::optional<TraceRecordPrefix> prefix = DecodeTraceRecordPrefix(rest);
        const std::size_t needed = kTraceRecordPrefix + (prefix ? prefix->length : 0);
        if (!prefix || rest.size() < needed) {
            file.status = TraceFileStatus::TruncatedRecord;
            file.truncatedOffset = position;
            file.truncatedBytes = rest.size();
            file.truncatedNeeded = needed;
            return;
        }
        std::string text(AsText(rest.subspan(kTraceRecordPrefix, prefix->length)));
        CipherTraceRecordText({reinterpret_cast<std::uint8_t*>(text.data()), text.size()});
        file.records.push_back({position, prefix->thread, prefix->type, std::move(text)});
        position += needed;
    }
}

}  // namespace

TraceFile ReadTraceFile(std::span<const std::uint8_t> bytes) {
    TraceFile file;
    const std::string_view text = AsText(bytes);
    if (!text.starts_with(std::string(kFirstLine) + std::string(kLineEnd))) return file;
    const std::optional<std::size_t> recordsStart = ReadHeaderLines(text, file.header);
    if (!recordsStart) {
        file.status = TraceFileStatus::UnterminatedHeader;
        return file;
    }
    file.status = TraceFileStatus::Complete;
    ReadRecords(bytes, *recordsStart, file);
    return file;
}

}  // namespace core
