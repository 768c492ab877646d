#pragma once
#include <windows.h>

#include <string>

// What uidrive's actions share: how a step fails, the one deadline of the run, and the
// controls of the window found.

enum ExitCode { kDone = 0, kTimedOut = 1, kUsage = 2, kControlFailed = 3 };

struct Failure {
    ExitCode code;
    std::wstring message;
};

class Deadline {
public:
    explicit Deadline(DWORD ms) : end_(::GetTickCount64() + ms) {}
    bool Passed() const { return ::GetTickCount64() >= end_; }
    UINT LeftMs() const {
        const ULONGLONG now = ::GetTickCount64();
        return now < end_ ? static_cast<UINT>(end_ - now) : 1;
    }

private:
    ULONGLONG end_;
};

void Write(DWORD stream, const std::wstring& text);

// The window's control with that ID, at any depth (a property sheet's page holds its own
// controls); throws when there is none.
HWND Control(HWND window, int id);
HWND FindControl(HWND window, int id);

// Messages to another program are sent with a time limit, so a hung program fails the step.
LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam, const Deadline& deadline, int id);

// Actions on common controls of another program, whose answers come through its memory.
//   --rows ID              print each row of a list view: "row N", its state image, flags, cells
//   --header ID            print each column heading of a list view: "header N", image, text
//   --click-cell ID R C X  click row R, column C of a list view, X pixels from the cell's left
//                          edge (from its right edge when negative); --ctrl-click-cell with Ctrl
//   --click-column ID C    click the heading of column C of a list view
//   --tree-selection ID    print the text of a tree view's selected item as "ID: text"
//   --select-all           select every row of the window's list view, as Ctrl+A does; the
//                          list is found by its class (the open-file dialog's list has the ID
//                          of its OK button)
void PrintRows(HWND list, int id, const Deadline& deadline);
void PrintHeader(HWND list, int id, const Deadline& deadline);
void ClickCell(HWND list, int id, int row, int column, int x, bool ctrl, const Deadline& deadline);
void ClickColumn(HWND list, int id, int column, const Deadline& deadline);
void PrintTreeSelection(HWND tree, int id, const Deadline& deadline);
void SelectAllRows(HWND window, const Deadline& deadline);
