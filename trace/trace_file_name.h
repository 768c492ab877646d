#pragma once
#include <windows.h>

#include <string>

namespace trace {

// The trace file of this program, module and session: the Tracing key's FileName when given,
// otherwise "<folder><exe>.<module><ext>.<session>.trc3" in TracePath (its missing folders
// created) or in the module's own folder.
std::wstring TraceFileName(HKEY tracing);

}  // namespace trace
