#pragma once
#include <string>

namespace trace {

// This module's file name without folder and extension, as the component filter names it.
const std::wstring& ComponentName();

}  // namespace trace
