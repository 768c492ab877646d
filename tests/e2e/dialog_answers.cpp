#include "dialog_answers.h"

#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "companions/ztsdapi/resource_ids.h"
#include "core/text/text_format.h"
#include "core/text/utf8.h"
#include "end_to_end_test.h"
#include "process_run.h"
#include "text/res_string.h"
#include "win/wide_text.h"

namespace {

const std::wstring kTimeout = L"--timeout 20000 ";

std::wstring Widened(const std::string& utf8) {
    return ToWide(core::Utf8ToUtf16({reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()}));
}

// What uidrive printed for the one control it was asked to read, up to its final line break.
std::wstring Drive(const std::wstring& arguments, int readControl = 0) {
    UiDriver driver(kTimeout + arguments);
    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << Widened(output).c_str();
    const std::wstring text = Widened(output);
    if (readControl == 0) return {};
    const std::wstring label = std::to_wstring(readControl) + L": ";
    const std::size_t start = text.find(label);
    if (start == std::wstring::npos) return {};
    std::wstring value = text.substr(start + label.size());
    if (!value.empty() && value.back() == L'\n') value.pop_back();
    return value;
}

// The window with these controls, then the actions.
std::wstring Window(std::initializer_list<int> ids) {
    std::wstring list;
    for (int id : ids) list += (list.empty() ? L"--controls " : L",") + std::to_wstring(id);
    return list + L" ";
}

std::wstring Id(int id) {
    return std::to_wstring(id);
}

}  // namespace

void AwaitVerification(UINT promptId) {
    const std::wstring prompt =
        Drive(Window({IDC_VERIFY_PROMPT}) + L"--get " + Id(IDC_VERIFY_PROMPT), IDC_VERIFY_PROMPT);
    EXPECT_EQ(prompt, LoadResString(promptId));
}

void ConfirmIdentity(UINT promptId) {
    AwaitVerification(promptId);
    Drive(Window({IDC_VERIFY_PROMPT}) + L"--set " + Id(IDC_VERIFY_PASSWORD) + L" " +
          Quoted(kFirstUsePassword) + L" --click " + Id(IDOK) + L" --gone");
}

std::wstring TypeWrongPassword(const std::wstring& password) {
    Drive(Window({IDC_VERIFY_PROMPT}) + L"--set " + Id(IDC_VERIFY_PASSWORD) + L" " + Quoted(password) +
          L" --click " + Id(IDOK));
    // The library's own message box: the same title as its dialog, and a text.
    return Drive(
        L"--title \"Verify Your Identity\" --controls 65535 --get 65535 --click " + Id(IDOK) + L" --gone",
        65535);
}

void CancelVerification() {
    Drive(Window({IDC_VERIFY_PROMPT}) + L"--click " + Id(IDCANCEL) + L" --gone");
}

bool ProgramMessageComes(DWORD withinMs) {
    UiDriver driver(L"--timeout " + std::to_wstring(withinMs) + L" --title " +
                    Quoted(LoadResString(IDS_MESSAGE_CAPTION)) + L" --controls 65535");
    return driver.Finish() == 0;
}

void ChooseNewPassword(const std::wstring& password) {
    const std::wstring typed = Quoted(password);
    Drive(Window({IDC_PASSWORD, IDC_PASSWORD_CONFIRM}) + L"--set " + Id(IDC_PASSWORD) + L" " + typed +
          L" --set " + Id(IDC_PASSWORD_CONFIRM) + L" " + typed + L" --click " + Id(IDOK) + L" --gone");
}

void ChooseInOpenDialog(const std::wstring& title, const std::wstring& typed, const std::wstring& folder) {
    Drive(L"--title " + Quoted(title) + (folder.empty() ? L"" : GoToFolder(folder)) + L" --set " +
          Id(kOpenDialogFileName) + L" " + UiArgument(typed) + L" --click " + Id(IDOK) + L" --gone");
}

std::wstring ReadReport() {
    return Drive(Window({IDC_REPORT_TEXT}) + L"--get " + Id(IDC_REPORT_TEXT) + L" --click " + Id(IDCANCEL) +
                     L" --gone",
                 IDC_REPORT_TEXT);
}

std::wstring ReadMessageBox(const std::wstring& caption) {
    // The text of a system message box.
    constexpr int kMessageText = 0xFFFF;
    return Drive(L"--title " + Quoted(caption) + L" " + Window({kMessageText}) + L"--get " +
                     Id(kMessageText) + L" --click " + Id(IDOK) + L" --gone",
                 kMessageText);
}

std::wstring ReportEntry(UINT stringId, const std::wstring& path) {
    return ToWide(core::FormatText(AsU16(LoadResString(stringId)), {AsU16(path)}));
}
