#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "test_support.h"
#include "win/unique_handle.h"

// One program started by a test, as a user or the shell starts it, with its output kept for
// the test when asked. One still running when the object goes is ended, so that a program
// waiting for an answer that never came does not hold the test's files.
class ProcessRun {
public:
    // The whole command line; the program is the first token.
    explicit ProcessRun(std::wstring commandLine, bool captureOutput = false);
    ProcessRun(ProcessRun&&) = default;
    ~ProcessRun();

    // True when the program ended on its own within the time.
    bool EndsWithin(DWORD ms) const;
    HANDLE Process() const { return process_.get(); }
    // Waits for the program to end; its exit code, and what it printed when captured.
    DWORD Finish(std::string& output, DWORD timeoutMs = 30000);
    DWORD Finish(DWORD timeoutMs = 30000);
    // The system's number for the running program.
    DWORD Id() const { return process_ ? ::GetProcessId(process_.get()) : 0; }

private:
    std::unique_ptr<TempFolder> folder_;
    std::wstring outputPath_;
    KernelHandle process_;
};

// A console program beside the test program, started with the arguments, its output kept.
class CapturedRun : public ProcessRun {
public:
    CapturedRun(const std::wstring& program, const std::wstring& arguments)
        : ProcessRun(Quoted(TestProgramFolder() + program) + L" " + arguments, true) {}
};

// uidrive, answering a dialog that the test then shows.
class UiDriver : public CapturedRun {
public:
    explicit UiDriver(const std::wstring& arguments) : CapturedRun(L"uidrive.exe", arguments) {}
};

// The system's open-file dialog: its file name box (cmb13) and the box naming the folder it
// shows (cmb2).
inline constexpr int kOpenDialogFileName = 1148;
inline constexpr int kOpenDialogFolder = 1137;

// One argument of uidrive's command line, escaped as the C runtime reads it back: a quote
// inside, and the backslashes before a quote, are escaped, so that a typed list of quoted
// names arrives as typed.
std::wstring UiArgument(const std::wstring& text);
// Names as a person types them into the file name box: "a.txt" "b.txt".
std::wstring QuotedNames(const std::vector<std::wstring>& names);
// uidrive's actions that take the open-file dialog to the folder, typed into its file name
// box. They end once the dialog shows the folder and has emptied the box: names typed before
// that would be lost.
std::wstring GoToFolder(const std::wstring& folder);

// Long enough for a run under Wine on a loaded machine once its dialogs are answered.
inline constexpr DWORD kRunEndsMs = 30000;
// A run that must do nothing shows no window and ends at once; this leaves room for Wine.
inline constexpr DWORD kIdleRunEndsMs = 15000;
