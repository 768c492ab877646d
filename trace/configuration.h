#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace trace {

// What one look at the Tracing key decides: the trace flags, the verbosity, and whether the
// component filter lets this module trace. A missing key or value gives its default.
struct Configuration {
    std::uint8_t flags = 0;
    DWORD verbosity = 0;
    bool componentEnabled = false;
};

Configuration ReadConfiguration(std::wstring_view component);

// ComponentsNOT switches a named module off; a non-empty Components list switches off every
// module it does not name, and naming a module there wins over ComponentsNOT.
bool ComponentEnabled(HKEY tracing, std::wstring_view component);

// The strings tracing reads (the Tracing key's paths, the products' versions) hold up to a
// whole MAX_PATH of text.
inline constexpr std::size_t kTraceValueUnits = MAX_PATH + 1;

}  // namespace trace
