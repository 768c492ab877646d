#pragma once
#include <windows.h>

#include <string>

// A resource text with one integer conversion ("%d", "%08X", "%0lX" and the like) filled
// with the value. Translated texts are data: a text with any other conversion, or more than
// one, is returned as it is rather than handed to the formatter.
std::wstring FormatInteger(const std::wstring& format, DWORD value);
