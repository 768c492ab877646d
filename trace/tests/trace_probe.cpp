// A small traced program for the trace tests: the configuration is read once per process and
// the trace file emptied at each start, so every traced run is a process of its own.
//   trace_probe scopes          a scope with a line, a detailed scope, and two failures
//   trace_probe burst N         N empty scopes as fast as they go
//   trace_probe threads N M     N threads, each M scopes with one line
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "trace/trace_scope.h"

using namespace trace;

namespace {

void Scopes() {
    CTraceScope scope("Probe::Run");
    Trace(scope, 0, "line %d of %ls", 1, L"probe");
    {
        CTraceScope detail("Probe::Detail", 10);
        Trace(detail, 0, "detail %s", "shown");
        TraceResult(detail, "detail failed", E_ACCESSDENIED);
    }
    TraceResult(scope, "run failed", E_FAIL);
}

void Burst(int count) {
    for (int i = 0; i < count; ++i) CTraceScope scope("Probe::Burst");
}

void Threads(int threads, int items) {
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([items] {
            for (int i = 0; i < items; ++i) {
                CTraceScope scope("Probe::Worker");
                Trace(scope, 0, "thread %lu item %d", ::GetCurrentThreadId(), i);
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
}

}  // namespace

int main(int argc, char** argv) {
    const char* command = argc > 1 ? argv[1] : "";
    if (std::strcmp(command, "scopes") == 0) {
        Scopes();
    } else if (std::strcmp(command, "burst") == 0 && argc == 3) {
        Burst(std::atoi(argv[2]));
    } else if (std::strcmp(command, "threads") == 0 && argc == 4) {
        Threads(std::atoi(argv[2]), std::atoi(argv[3]));
    } else {
        return 2;
    }
    return 0;
}
