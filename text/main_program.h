#pragma once
#include <windows.h>

#include <optional>
#include <span>
#include <string>

#include "win/unique_handle.h"

// How the plug-ins start the main program: with the open command that its registration wrote
// for the "Tapwise Crypto" file type, without the file placeholder. Nothing when the program
// is not registered.
std::optional<std::wstring> ReadProgramCommand();

// Starts the main program with the switch and the quoted paths and does not wait for it;
// process receives the started program's handle, or none when it did not start.
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) and nothing started when the line would be
// too long for the system; a program that does not start is not reported, as Explorer shows
// nothing for it either.
HRESULT StartProgram(const std::wstring& programCommand, const wchar_t* switchText,
                     std::span<const std::u16string> quotedPaths, KernelHandle& process);
