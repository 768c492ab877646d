#include "trace/trace_file_name.h"

#include "trace/configuration.h"
#include "trace/module_paths.h"
#include "win/long_path.h"
#include "win/path_parts.h"
#include "win/registry.h"
#include "win/system_library.h"
#include "win/this_module.h"

namespace trace {
namespace {

// Looked up: Microsoft documents ProcessIdToSessionId only from Vista on. Without it the
// session is 0, the console's.
DWORD SessionId() {
    static const DWORD session = [] {
        using SessionIdFunction = BOOL(WINAPI*)(DWORD processId, DWORD * sessionId);
        const auto sessionIdOf = Kernel32Function<SessionIdFunction>("ProcessIdToSessionId");
        DWORD id = 0;
        if (sessionIdOf) sessionIdOf(::GetCurrentProcessId(), &id);
        return id;
    }();
    return session;
}

// Creates every missing folder along the path; what cannot be created shows later as a file
// that cannot be opened, which tracing tolerates.
void CreateFolders(const std::wstring& folder) {
    for (std::size_t end = folder.find_first_of(L"\\/", 1); end != std::wstring::npos;
         end = folder.find_first_of(L"\\/", end + 1)) {
        ::CreateDirectoryW(LongPathForm(folder.substr(0, end)).c_str(), nullptr);
    }
    ::CreateDirectoryW(LongPathForm(folder).c_str(), nullptr);
}

std::wstring TraceFolder(HKEY tracing, const PathParts& module) {
    std::wstring path = TryReadString(tracing, L"TracePath", kTraceValueUnits).value_or(L"");
    if (path.empty()) return module.folder;
    CreateFolders(path);
    if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
    return path;
}

}  // namespace

std::wstring TraceFileName(HKEY tracing) {
    const std::wstring fileName = TryReadString(tracing, L"FileName", kTraceValueUnits).value_or(L"");
    if (!fileName.empty()) return fileName;
    const PathParts module = SplitPath(ModuleFileName(ThisModule()));
    const std::wstring executable = SplitPath(ModuleFileName(nullptr)).base;
    return TraceFolder(tracing, module) + executable + L"." + module.base + module.extension + L"." +
           std::to_wstring(SessionId()) + L".trc3";
}

}  // namespace trace
