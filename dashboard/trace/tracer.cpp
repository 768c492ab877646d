#include "dashboard/trace/tracer.h"

#include <windows.h>

#include <optional>

#include "core/registration/registry_keys.h"
#include "core/text/unix_time.h"
#include "core/trace/trace_switch.h"
#include "dashboard/trace/trace_cleanup.h"
#include "trace/configuration.h"
#include "win/hresult.h"
#include "win/path_parts.h"
#include "win/registry.h"
#include "win/this_module.h"

namespace tracecore {
namespace {

constexpr wchar_t kSwitchValue[] = L"DoTrace";

std::wstring Trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring TracingString(HKEY tracing, const wchar_t* name) {
    return Trimmed(TryReadString(tracing, name, trace::kTraceValueUnits).value_or(L""));
}

core::CalendarDate DateOf(const SYSTEMTIME& time) {
    return {time.wYear, time.wMonth, time.wDay};
}

// The local date of a moment in seconds since 1970, in the time zone's rules for that date.
core::CalendarDate LocalDateOf(DWORD seconds) {
    const ULARGE_INTEGER ticks{.QuadPart = core::UnixSecondsToFileTime(seconds)};
    const FILETIME moment{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&moment, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return {};
    }
    return DateOf(local);
}

TraceMode ReadMode() {
    const RegKey tracing = TryOpenKey(HKEY_LOCAL_MACHINE, kTracingKey);
    const std::optional<DWORD> value = TryReadDword(tracing.get(), kSwitchValue);
    if (!value) return TraceMode::kOff;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return core::TraceSwitchOn(*value, LocalDateOf(*value), DateOf(now)) ? TraceMode::kOn : TraceMode::kOff;
}

}  // namespace

realtracer_t::realtracer_t() {
    try {
        mode_ = ReadMode();
        if (mode_ == TraceMode::kOff) CleanupTraceFiles(TraceFilePath(), RemoveSwitch());
    } catch (...) {
        // Runs while the plug-in loads, which nothing of tracing may stop.
    }
}

std::wstring realtracer_t::TraceFilePath() const {
    const RegKey tracing = TryOpenKey(HKEY_LOCAL_MACHINE, kTracingKey);
    const std::wstring fileName = TracingString(tracing.get(), L"FileName");
    if (!fileName.empty()) return fileName;
    const std::wstring folder = TracingString(tracing.get(), L"TracePath");
    const PathParts module = SplitPath(ModuleFileName(ThisModule()));
    return (folder.empty() ? module.folder : WithTrailingSeparator(folder)) + module.base + L".trc3";
}

bool realtracer_t::RemoveSwitch() {
    {
        const RegKey tracing = TryOpenKey(HKEY_LOCAL_MACHINE, kTracingKey);
        if (!TryReadDword(tracing.get(), kSwitchValue)) return false;
    }
    // A switch that cannot be removed (no right to the machine's key) stays; the files still go.
    FailureOf(
        [] { DeleteValue(OpenKey(HKEY_LOCAL_MACHINE, kTracingKey, KEY_SET_VALUE).get(), kSwitchValue); });
    return true;
}

}  // namespace tracecore
