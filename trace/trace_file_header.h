#pragma once
#include <string>

namespace ZTTraceNS {

// The plain-text header of a new trace file, from this machine, module and registry.
std::string TraceFileHeader();

}  // namespace ZTTraceNS
