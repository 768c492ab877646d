#pragma once
#include <string>

namespace trace {

// The plain-text header of a new trace file, from this machine, module and registry.
std::string TraceFileHeader();

}  // namespace trace
