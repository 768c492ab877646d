#include "app/startup/files.h"

#include <windows.h>

#include <string>

#include "trace/trace_scope.h"
#include "win/unique_handle.h"

bool CFiles::Add(std::wstring_view path) {
    ZTTraceNS::CTraceScope scope("CFiles::Add");
    const std::wstring text(path);
    ZTTraceNS::Trace(scope, 0, "FileName %ls", text.c_str());
    WIN32_FIND_DATAW found;
    if (!FindHandle(::FindFirstFileW(text.c_str(), &found))) return false;
    ZTTraceNS::Trace(scope, 0, "Adding File");
    paths_.Add(text);
    return true;
}
