#include "trace/module_paths.h"

#include "win/path_parts.h"
#include "win/this_module.h"

namespace trace {

const std::wstring& ComponentName() {
    static const std::wstring name = SplitPath(ModuleFileName(ThisModule())).base;
    return name;
}

}  // namespace trace
