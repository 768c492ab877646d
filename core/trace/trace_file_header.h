#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The plain-text header at the start of a new trace file, built from facts that the Windows
// side gathers; each line ends in CR LF.
namespace core {

inline constexpr char kTraceLibraryVersion[] = "3.0.1";

struct TraceProduct {
    std::string name;
    std::string version;
    std::uint32_t openError = 0;     // the product's key could not be opened
    std::uint32_t versionError = 0;  // its "Version" value could not be read
};

struct TraceClock {
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

struct TraceHeaderFacts {
    std::string compiledDate;  // "Mmm dd yyyy"
    std::string compiledTime;  // "hh:mm:ss"
    bool ntPlatform = true;
    unsigned majorVersion = 0;
    unsigned minorVersion = 0;
    std::string servicePack;
    std::string machineName;
    std::optional<std::array<std::uint16_t, 4>> fileVersion;  // most significant part first
    std::vector<TraceProduct> products;                       // in enumeration order
    std::optional<std::uint32_t> networkSupport;              // present only as a DWORD
    TraceClock localTime;
};

// Control characters in the gathered texts become '?', so that no fact can end a line early
// or forge the header's closing "." line.
std::string FormatTraceHeader(const TraceHeaderFacts& facts);

}  // namespace core
