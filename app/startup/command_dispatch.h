#pragma once
#include <windows.h>

#include <string_view>

#include "trace/trace_scope.h"

// Parses the program's command line and runs the one action its first command and its
// paths select, traced under the caller's scope. Errors of the action are its own to show;
// only registration, which shows nothing, returns its HRESULT. S_OK for every other action.
HRESULT DispatchCommandLine(std::wstring_view commandLine, const trace::CTraceScope& scope);
