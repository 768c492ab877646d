#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "trace/output.h"

namespace ZTTraceNS {

enum TraceFlags : std::uint8_t {
    kToFile = 0x04,
    kNewFileAlways = 0x08,
    kTracingOn = 0x20,
    kProfiling = 0x40,
};

// Longest record text: a formatted line after its conversion to UTF-8.
inline constexpr std::size_t kMaxRecordText = 399;

// The trace state of this module. Tracing starts off; the configuration switches it on.
struct TraceState {
    TraceState();
    ~TraceState();
    TraceState(const TraceState&) = delete;
    TraceState& operator=(const TraceState&) = delete;

    std::uint8_t flags = 0;
    bool componentEnabled = false;
    DWORD verbosity = 0;
    bool configurationRead = false;
    DWORD nextCheck = 0;
    std::unique_ptr<COutput> output;
    SYSTEMTIME lastStamp{};
    CRITICAL_SECTION lock;
};

TraceState& State();

inline bool TracingOn() {
    return (State().flags & kTracingOn) != 0;
}

// Re-reads the configuration when it is due.
void CheckConfiguration();

// Whether a scope of this level has its records written.
bool PassesFilter(int level);

// Builds one record (thread, type, text) and hands it to the output, preceded by the time
// stamps it needs. Texts longer than a record holds are cut.
void WriteRecord(char type, std::string_view text);

}  // namespace ZTTraceNS
