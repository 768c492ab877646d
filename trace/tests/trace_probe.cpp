// A small traced program for the trace file tests: the configuration is read once per process
// and the trace file emptied at each start, so every traced run is a process of its own. It
// writes a scope with a line, a detailed scope, and two failures.
#include <windows.h>

#include "trace/trace_scope.h"

using namespace trace;

int main() {
    CTraceScope scope("Probe::Run");
    Trace(scope, 0, "line %d of %ls", 1, L"probe");
    {
        CTraceScope detail("Probe::Detail", 10);
        Trace(detail, 0, "detail %s", "shown");
        TraceResult(detail, "detail failed", E_ACCESSDENIED);
    }
    TraceResult(scope, "run failed", E_FAIL);
    return 0;
}
