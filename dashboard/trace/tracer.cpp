#include "dashboard/trace/tracer.h"

#include <windows.h>

#include <optional>

#include "core/trace_switch.h"
#include "core/unix_time.h"
#include "dashboard/trace/trace_cleanup.h"
#include "trace/registry_values.h"
#include "trace/tracing_keys.h"
#include "win/path_parts.h"
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
    const ZTTraceNS::StringValue value = ZTTraceNS::ReadString(tracing, name);
    return value.status == ERROR_SUCCESS ? Trimmed(value.text) : std::wstring();
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
    const RegKey tracing = ZTTraceNS::OpenReadKey(HKEY_LOCAL_MACHINE, ZTTraceNS::kTracingKey);
    const std::optional<DWORD> value = ZTTraceNS::ReadDword(tracing.get(), kSwitchValue);
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
    const RegKey tracing = ZTTraceNS::OpenReadKey(HKEY_LOCAL_MACHINE, ZTTraceNS::kTracingKey);
    const std::wstring fileName = TracingString(tracing.get(), L"FileName");
    if (!fileName.empty()) return fileName;
    const std::wstring folder = TracingString(tracing.get(), L"TracePath");
    const PathParts module = SplitPath(ModuleFileName(ThisModule()));
    return (folder.empty() ? module.folder : WithTrailingSeparator(folder)) + module.base + L".trc3";
}

bool realtracer_t::RemoveSwitch() {
    {
        const RegKey tracing = ZTTraceNS::OpenReadKey(HKEY_LOCAL_MACHINE, ZTTraceNS::kTracingKey);
        if (!ZTTraceNS::ReadDword(tracing.get(), kSwitchValue)) return false;
    }
    RegKey writable;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, ZTTraceNS::kTracingKey, 0, KEY_SET_VALUE, writable.put()) ==
        ERROR_SUCCESS) {
        ::RegDeleteValueW(writable.get(), kSwitchValue);
    }
    return true;
}

}  // namespace tracecore
