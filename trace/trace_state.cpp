#include "trace/trace_state.h"

#include <array>
#include <cstdio>

#include "core/registration/registry_keys.h"
#include "core/trace/trace_record.h"
#include "trace/configuration.h"
#include "trace/file_output.h"
#include "trace/module_paths.h"
#include "trace/trace_file_name.h"
#include "win/registry.h"

namespace trace {
namespace {

constexpr DWORD kCheckInterval = 30000;

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { ::EnterCriticalSection(&cs_); }
    ~Lock() { ::LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

// Chosen once per process, at its first record: a later change of TraceToFile does not
// switch outputs.
std::unique_ptr<COutput> CreateOutput(std::uint8_t flags) {
    if (!(flags & kTracingOn)) return std::make_unique<CNoOutput>();
    if (flags & kToFile) {
        const RegKey tracing = TryOpenKey(HKEY_LOCAL_MACHINE, kTracingKey);
        return std::make_unique<CFileOutput>(TraceFileName(tracing.get()), (flags & kNewFileAlways) != 0);
    }
    if (::IsDebuggerPresent()) return std::make_unique<CDebugOutput>();
    return std::make_unique<CConsoleOutput>();
}

void Emit(TraceState& state, char type, std::string_view text) {
    std::array<std::uint8_t, core::kTraceRecordPrefix + kMaxRecordText> record;
    const std::size_t size = core::EncodeTraceRecord(record, ::GetCurrentThreadId(), type, text);
    state.output->Write(record.data(), size);
}

bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

bool SameMoment(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond &&
           a.wMilliseconds == b.wMilliseconds;
}

// A reader reconstructs each record's time from the last 't' (date) and 'T' (time) before it.
void WriteTimeStamp(TraceState& state) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char text[32];
    if (!SameDay(now, state.lastStamp)) {
        std::snprintf(text, sizeof text, "%02u/%02u/%02u", now.wMonth, now.wDay, now.wYear % 100u);
        Emit(state, 't', text);
    } else if (SameMoment(now, state.lastStamp)) {
        return;
    }
    std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", now.wHour, now.wMinute, now.wSecond,
                  now.wMilliseconds);
    Emit(state, 'T', text);
    state.lastStamp = now;
}

}  // namespace

TraceState::TraceState() {
    ::InitializeCriticalSection(&lock);
}

TraceState::~TraceState() {
    output.reset();
    ::DeleteCriticalSection(&lock);
}

TraceState& State() {
    static TraceState state;
    return state;
}

void CheckConfiguration() {
    TraceState& state = State();
    const DWORD now = ::GetTickCount();
    // Signed difference: the tick count wraps after 49 days.
    if (state.configurationRead && static_cast<LONG>(now - state.nextCheck) <= 0) return;
    try {
        const Configuration configuration = ReadConfiguration(ComponentName());
        Lock lock(state.lock);
        state.flags = configuration.flags;
        state.verbosity = configuration.verbosity;
        state.componentEnabled = configuration.componentEnabled;
    } catch (...) {
        // Out of memory while reading: the previous configuration stays until the next check.
    }
    state.configurationRead = true;
    state.nextCheck = now + kCheckInterval;
}

bool PassesFilter(int level) {
    const TraceState& state = State();
    const unsigned magnitude = level < 0 ? 0u - static_cast<unsigned>(level) : static_cast<unsigned>(level);
    return state.componentEnabled && state.verbosity >= magnitude;
}

void WriteRecord(char type, std::string_view text) {
    TraceState& state = State();
    Lock lock(state.lock);
    try {
        if (!state.output) state.output = CreateOutput(state.flags);
        WriteTimeStamp(state);
        Emit(state, type, text);
    } catch (...) {
        // Out of memory while opening the output: this record is lost, the operation goes on.
    }
}

}  // namespace trace
