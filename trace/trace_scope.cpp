#include "trace/trace_scope.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "core/text/utf8.h"
#include "core/trace/printf_format.h"
#include "trace/trace_state.h"

namespace trace {
namespace {

constexpr int kMaxFormatUnits = 400;
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

std::u16string AnsiToUtf16(const char* text) {
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 1) return {};
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<wchar_t*>(wide.data()), units);
    wide.pop_back();
    return wide;
}

// The line as UTF-8, or nothing when the format is too long to be a trace line.
std::optional<std::string> FormatLine(const char* format, va_list args) {
    if (!format || !*format) return std::string();
    const std::u16string wide = AnsiToUtf16(format);
    if (wide.size() >= kMaxFormatUnits) return std::nullopt;
    const std::u16string narrowed = core::NarrowStringConversions(wide);
    wchar_t line[kMaxFormatUnits] = {};
    ::_vsnwprintf(line, kMaxFormatUnits - 1, reinterpret_cast<const wchar_t*>(narrowed.c_str()), args);
    return core::Utf16ToUtf8(reinterpret_cast<const char16_t*>(line), kMaxRecordText);
}

}  // namespace

CTraceScope::CTraceScope(const char* name, int level) : level_(level) {
    CheckConfiguration();
    if (!TracingOn()) return;
    const char* source = name ? name : "????";
    std::strncpy(name_, source, sizeof name_ - 1);
    if (PassesFilter(level_)) WriteRecord('>', name_);
}

CTraceScope::~CTraceScope() {
    if (TracingOn() && PassesFilter(level_)) WriteRecord('<', {});
}

void Trace(const CTraceScope& scope, int, const char* format, ...) {
    if (!TracingOn() || (State().flags & kProfiling) || !PassesFilter(scope.Level())) return;
    va_list args;
    va_start(args, format);
    const std::optional<std::string> line = FormatLine(format, args);
    va_end(args);
    if (line) WriteRecord('U', *line);
}

void TraceResult(const CTraceScope&, const char* text, HRESULT code) {
    if (!TracingOn() || code >= 0) return;
    char record[kMaxRecordText + 1];
    std::snprintf(record, sizeof record, "%ld %s", static_cast<long>(code), text ? text : "");
    WriteRecord('E', record);
}

}  // namespace trace
