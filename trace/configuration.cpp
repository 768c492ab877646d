#include "trace/configuration.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/registration/registry_keys.h"
#include "trace/trace_state.h"
#include "win/registry.h"

namespace trace {
namespace {

struct FlagValue {
    const wchar_t* name;
    std::uint8_t flag;
    bool byDefault;
};
constexpr FlagValue kFlagValues[] = {
    {L"DoTrace", kTracingOn, false},
    {L"TraceToFile", kToFile, true},
    {L"NewFileAlways", kNewFileAlways, true},
    {L"DoProfiling", kProfiling, false},
};

// Ordinal and case-insensitive, by the system's upper-case table rather than a locale's rules.
bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    std::wstring upperA(a);
    std::wstring upperB(b);
    ::CharUpperBuffW(upperA.data(), static_cast<DWORD>(upperA.size()));
    ::CharUpperBuffW(upperB.data(), static_cast<DWORD>(upperB.size()));
    return upperA == upperB;
}

bool Names(const std::vector<std::wstring>& names, std::wstring_view component) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::wstring& name) { return SameName(name, component); });
}

}  // namespace

bool ComponentEnabled(HKEY tracing, std::wstring_view component) {
    const std::vector<std::wstring> only = ValueNames(TryOpenKey(tracing, L"Components").get());
    if (!only.empty()) return Names(only, component);
    return !Names(ValueNames(TryOpenKey(tracing, L"ComponentsNOT").get()), component);
}

Configuration ReadConfiguration(std::wstring_view component) {
    const RegKey tracing = TryOpenKey(HKEY_LOCAL_MACHINE, kTracingKey);
    Configuration configuration;
    for (const FlagValue& value : kFlagValues) {
        const DWORD data = TryReadDword(tracing.get(), value.name).value_or(value.byDefault ? 1 : 0);
        if (data != 0) configuration.flags |= value.flag;
    }
    configuration.verbosity = TryReadDword(tracing.get(), L"Verbosity").value_or(0);
    configuration.componentEnabled = ComponentEnabled(tracing.get(), component);
    return configuration;
}

}  // namespace trace
