#pragma once
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

// The suite's main program, ZTFileEn.exe, installed beside this test program with the
// libraries it loads.
std::wstring ProgramPath();

std::wstring Quoted(const std::wstring& text);

// One start of the program with a whole command line, as the shell or a user starts it.
class ProgramRun {
public:
    explicit ProgramRun(std::wstring commandLine);
    // The program's quoted path, a space, then the arguments exactly as given.
    static ProgramRun WithArguments(const std::wstring& arguments);
    ProgramRun(ProgramRun&&) = default;
    ~ProgramRun();

    // True when the program ended on its own within the time.
    bool EndsWithin(DWORD ms) const;

private:
    KernelHandle process_;
};

// Long enough for a run under Wine on a loaded machine once its dialogs are answered.
inline constexpr DWORD kRunEndsMs = 30000;
// A run that must do nothing shows no window and ends at once; this leaves room for Wine.
inline constexpr DWORD kIdleRunEndsMs = 15000;
