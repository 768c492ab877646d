#pragma once
#include <string_view>

#include "trace/trace_scope.h"

// Parses the program's command line and runs the one action its first command and its
// paths select, traced under the caller's scope. Errors of the action are its own to show.
void DispatchCommandLine(std::wstring_view commandLine, const ZTTraceNS::CTraceScope& scope);
