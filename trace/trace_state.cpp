#include "trace/trace_state.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace ZTTraceNS {
namespace {

constexpr DWORD kCheckInterval = 30000;
constexpr std::size_t kRecordPrefix = 7;  // thread ID, type, text length

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { ::EnterCriticalSection(&cs_); }
    ~Lock() { ::LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

std::unique_ptr<COutput> CreateOutput() {
    return std::make_unique<CNoOutput>();
}

void Emit(TraceState& state, char type, std::string_view text) {
    std::array<std::uint8_t, kRecordPrefix + kMaxRecordText> record;
    const auto length = static_cast<std::uint16_t>(std::min(text.size(), kMaxRecordText));
    const DWORD thread = ::GetCurrentThreadId();
    for (int i = 0; i < 4; ++i) record[i] = static_cast<std::uint8_t>(thread >> (8 * i));
    record[4] = static_cast<std::uint8_t>(type);
    record[5] = static_cast<std::uint8_t>(length);
    record[6] = static_cast<std::uint8_t>(length >> 8);
    std::copy_n(text.begin(), length, record.begin() + kRecordPrefix);
    state.output->Write(record.data(), kRecordPrefix + length);
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
    if (!state.output) state.output = CreateOutput();
    if (type != 'N') WriteTimeStamp(state);
    Emit(state, type, text);
}

}  // namespace ZTTraceNS
