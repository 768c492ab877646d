#include "core/trace/trace_dump.h"

#include "core/text/escaped_text.h"

namespace core {

std::string TraceRecordLine(const TraceRecord& record) {
    std::string line = std::to_string(record.thread) + ' ';
    AppendEscaped(line, record.type);
    line += ' ';
    return line + Escaped(record.text);
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
