#pragma once
#include <windows.h>

#include <string>

// The system's description of the status in the user's language, without its final line
// break. A status the system cannot describe is named as a dispatch error or an unknown one.
std::wstring SystemErrorText(HRESULT status);
