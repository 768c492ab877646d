#include "core/trace/trace_file_header.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace core {
namespace {

std::string Printf(const char* format, auto... args) {
    char line[64];
    const int size = std::snprintf(line, sizeof line, format, args...);
    return std::string(line, static_cast<std::size_t>(std::clamp(size, 0, int(sizeof line) - 1)));
}

std::string OneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, '?');
    return line;
}

std::string OsLine(const TraceHeaderFacts& facts) {
    if (facts.ntPlatform && facts.majorVersion == 6 && facts.minorVersion == 0) return "OS: WindowsVista";
    if (facts.ntPlatform && facts.majorVersion == 5) {
        if (facts.minorVersion == 1) return "OS: WindowsXP";
        if (facts.minorVersion == 2) return "OS: Server2003";
        return "OS: Windows2000";
    }
    return Printf("OS: UNKNOWN OS(Major:%u Minor:%u)", facts.majorVersion, facts.minorVersion);
}

std::string FileVersionLine(const TraceHeaderFacts& facts) {
    if (!facts.fileVersion) return "FileVersion: UNKNOWN";
    const auto& v = *facts.fileVersion;
    return Printf("FileVersion: %u.%u.%u.%u", v[0], v[1], v[2], v[3]);
}

std::string ProductLine(const TraceProduct& product) {
    const std::string name = "Product: " + OneLine(product.name);
    if (product.openError) return name + Printf(" ERROR(0x%X)", product.openError);
    if (product.versionError) return name + Printf("; Version: ERROR(0x%X)", product.versionError);
    return name + "; Version: " + OneLine(product.version);
}

std::string TimeLine(const TraceClock& t) {
    return Printf("%02u/%02u/%04u %02u:%02u:%02u.%03u", t.month, t.day, t.year, t.hour, t.minute, t.second,
                  t.millisecond);
}

}  // namespace

std::string FormatTraceHeader(const TraceHeaderFacts& facts) {
    std::vector<std::string> lines{
        "trace3",
        "Compiled: " + OneLine(facts.compiledDate) + " " + OneLine(facts.compiledTime),
        OsLine(facts),
        "ServicePack: " + OneLine(facts.servicePack),
        "Machine name: " + OneLine(facts.machineName),
        std::string("Trace Ver: ") + kTraceLibraryVersion,
        FileVersionLine(facts),
    };
    for (const TraceProduct& product : facts.products) lines.push_back(ProductLine(product));
    if (facts.products.empty()) lines.push_back("No Zentaro products found");
    lines.push_back(facts.networkSupport == 0u ? "installation: LOCAL" : "installation: NETWORK");
    lines.push_back(TimeLine(facts.localTime));
    lines.push_back(".");
    std::string header;
    for (const std::string& line : lines) header += line + "\r\n";
    return header;
}

}  // namespace core
