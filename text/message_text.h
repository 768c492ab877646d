#pragma once
#include <windows.h>

#include <optional>
#include <string>

// The text of a status from the system's messages, or from a module's message table when a
// module is given, in the language asked for (0: the system's choice); without its trailing
// line breaks and blanks. Nothing when there is no text for it.
std::optional<std::wstring> MessageText(HRESULT status, HMODULE module = nullptr, DWORD language = 0);
