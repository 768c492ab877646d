#pragma once
#include <string>
#include <vector>

namespace tracecore {

// Has every file beside the trace file (same folder, same extension) deleted at the next
// restart of Windows, once per process and only when a switch was found (switchFound).
// Another process doing the same at the moment (it holds the cleanup mutex) does it for
// both. Every failure ends the cleanup silently.
void CleanupTraceFiles(const std::wstring& traceFilePath, bool switchFound);

// For systems that delete files through WININIT.INI at start-up: a "NUL=" line for each
// file (by its short path) in the [rename] section of the file at iniPath, which is made
// when missing. The file is edited in place. Failures are thrown.
void ScheduleInWininit(const std::wstring& iniPath, const std::vector<std::wstring>& files);

}  // namespace tracecore
