#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/registry_names.h"
#include "win/unique_handle.h"

namespace ZTTraceNS {

// Registry reads for the trace library. Tracing never fails for lack of configuration: a key
// or value that cannot be had reads as missing, and the caller takes its default.
RegKey OpenReadKey(HKEY root, const wchar_t* path);

// The value when it is a REG_DWORD.
std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name);

// A REG_SZ or REG_EXPAND_SZ value (not expanded) of at most maxUnits units, or the registry's
// error; a value of another type gives ERROR_INVALID_DATATYPE, a longer one ERROR_MORE_DATA.
struct StringValue {
    LSTATUS status = ERROR_FILE_NOT_FOUND;
    std::wstring text;
};
StringValue ReadString(HKEY key, const wchar_t* name, DWORD maxUnits = MAX_PATH);

// The value names of a subkey; none when it is missing.
std::vector<std::wstring> ValueNames(HKEY key, const wchar_t* subKey);

}  // namespace ZTTraceNS
