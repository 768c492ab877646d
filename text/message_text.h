#pragma once
#include <windows.h>

#include <optional>
#include <string>

// The text of a status from the system's messages, in the language asked for (0: the system's
// choice); without its trailing line breaks and blanks. Nothing when there is no text for it.
std::optional<std::wstring> MessageText(HRESULT status, DWORD language = 0);

// The suite's own text for a status it knows (the system may have none: Wine describes none of
// CryptoAPI's), else the system's in the language asked for; nothing when neither has one.
std::optional<std::wstring> ErrorText(HRESULT status, DWORD language = 0);

// The system's description of the status in the user's language, without its final line
// break. A status the system cannot describe is named as a dispatch error or an unknown one.
std::wstring SystemErrorText(HRESULT status);
