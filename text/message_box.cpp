#include "text/message_box.h"

#include "text/res_string.h"
#include "text/text_ids.h"

int ShowMessage(HWND owner, UINT textId, UINT style) {
    return ShowMessageText(owner, LoadResString(textId), style);
}

int ShowMessageText(HWND owner, const std::wstring& text, UINT style) {
    return ::MessageBoxW(owner, text.c_str(), LoadResString(IDS_MESSAGE_CAPTION).c_str(), style);
}

bool AskYesNo(HWND owner, const std::wstring& text, const std::wstring& caption) {
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_ICONQUESTION | MB_YESNO) == IDYES;
}
