#pragma once
#include <windows.h>

#include <string>

class CBranding;

// String id of the resource module, with every "<<%PN%>>" replaced by the product name.
// Empty when the module has no such string. The branding library is consulted only for a
// text that holds a placeholder.
std::wstring LoadResString(UINT id);
std::wstring LoadResString(UINT id, CBranding& branding);
