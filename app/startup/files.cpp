#include "app/startup/files.h"

#include <string>

#include "trace/trace_scope.h"
#include "win/path_parts.h"

bool CFiles::Add(std::wstring_view path) {
    ZTTraceNS::CTraceScope scope("CFiles::Add");
    const std::wstring text(path);
    ZTTraceNS::Trace(scope, 0, "FileName %ls", text.c_str());
    if (!PathIsTaken(text)) return false;
    ZTTraceNS::Trace(scope, 0, "Adding File");
    paths_.Add(text);
    return true;
}
