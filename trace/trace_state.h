#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>

#include "trace/output.h"

namespace trace {

enum TraceFlags : std::uint8_t {
    kToFile = 0x04,
    kNewFileAlways = 0x08,
    kTracingOn = 0x20,
    kProfiling = 0x40,
};

// Longest record text: a formatted line after its conversion to UTF-8.
inline constexpr std::size_t kMaxRecordText = 399;

// The trace state of this module. Tracing starts off; the configuration switches it on.
// The flags, filter and check time are read outside the lock by every scope, hence atomic;
// they are changed only under it.
struct TraceState {
    TraceState();
    ~TraceState();
    TraceState(const TraceState&) = delete;
    TraceState& operator=(const TraceState&) = delete;

    std::atomic<std::uint8_t> flags = 0;
    std::atomic<bool> componentEnabled = false;
    std::atomic<DWORD> verbosity = 0;
    std::atomic<bool> configurationRead = false;
    std::atomic<DWORD> nextCheck = 0;
    std::unique_ptr<COutput> output;
    SYSTEMTIME lastStamp{};
    CRITICAL_SECTION lock;
};

TraceState& State();

inline bool TracingOn() {
    return (State().flags & kTracingOn) != 0;
}

// Re-reads the configuration when it is due: at the first scope, then at most every 30 s.
void CheckConfiguration();

// Whether a scope of this level has its records written.
bool PassesFilter(int level);

// Builds one record (thread, type, text) and hands it to the output, preceded by the time
// stamps it needs; the first record creates the output. Texts longer than a record holds are
// cut. Never throws: tracing must not change the traced operation's result.
void WriteRecord(char type, std::string_view text);

}  // namespace trace
