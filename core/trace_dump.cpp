#include "trace_dump.h"

#include <cstdio>
#include <string_view>

namespace core {
namespace {

void AppendEscaped(std::string& out, char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
        out += "\\\\";
    } else if (c == '\n') {
        out += "\\n";
    } else if (c == '\r') {
        out += "\\r";
    } else if (c == '\t') {
        out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        out += escape;
    } else {
        out += c;
    }
}

}  // namespace

std::string TraceRecordLine(const TraceRecord& record) {
    std::string line = std::to_string(record.thread) + ' ';
    AppendEscaped(line, record.type);
    line += ' ';
    for (char c : record.text) AppendEscaped(line, c);
    return line;
}

std::string TraceFileProblem(const TraceFile& file) {
    switch (file.status) {
        case TraceFileStatus::Complete:
            return {};
        case TraceFileStatus::NotATraceFile:
            return "not a trace file: it does not start with the line \"trace3\"";
        case TraceFileStatus::UnterminatedHeader:
            return "the header ends without its \".\" line";
        case TraceFileStatus::TruncatedRecord:
            return "truncated record at offset " + std::to_string(file.truncatedOffset) + ": " +
                   std::to_string(file.truncatedBytes) + " of " + std::to_string(file.truncatedNeeded) +
                   " bytes";
    }
    return {};
}

}  // namespace core
