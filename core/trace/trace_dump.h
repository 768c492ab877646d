#pragma once
#include <string>

#include "core/trace/trace_file_reader.h"

// How trc3dump shows a trace file to support staff: one line per header line and per record.
namespace core {

// "<thread> <type> <text>". Control characters, DEL and backslashes are written as escapes
// (\n, \t, \\, \xNN) so that every record stays on one line whatever its text holds.
std::string TraceRecordLine(const TraceRecord& record);

// The last line for a file that did not read completely; empty when it did.
std::string TraceFileProblem(const TraceFile& file);

}  // namespace core
