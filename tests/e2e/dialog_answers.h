#pragma once
#include <windows.h>

#include <string>

// Answers the windows of a run through uidrive, as the user at the screen would. Each waits
// for its window and fails the test when it does not come.

// Waits for the verification library's dialog and checks that its prompt is the program's
// string promptId, which names the operation; the dialog stays open.
void AwaitVerification(UINT promptId);
// The same, then the password chosen on first use (kFirstUsePassword; the field is there once
// the user has a secret) and OK: the user is verified.
void ConfirmIdentity(UINT promptId);
// Types a wrong password in the verification dialog; returns the text the library refuses
// it with, once its message is closed. The dialog stays open.
std::wstring TypeWrongPassword(const std::wstring& password);
// Cancels the verification dialog.
void CancelVerification();
// Whether a message box of the program's own comes up within the time.
bool ProgramMessageComes(DWORD withinMs);
// Types a new password in both fields of the program's password dialog and accepts it.
void ChooseNewPassword(const std::wstring& password);
// In the open-file dialog with that title, goes to the folder when one is given and opens
// what is typed into the file name box, as a person types it ("a.txt" or "a.txt" "b.txt").
void ChooseInOpenDialog(const std::wstring& title, const std::wstring& typed,
                        const std::wstring& folder = {});
// The text of the report dialog, which is then closed.
std::wstring ReadReport();
// The text of the message box with that caption, which is then closed with OK.
std::wstring ReadMessageBox(const std::wstring& caption);

// A report paragraph's text for an item, as the program words it.
std::wstring ReportEntry(UINT stringId, const std::wstring& path);
