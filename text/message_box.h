#pragma once
#include <windows.h>

#include <string>

// The style of the program's error messages.
inline constexpr UINT kErrorMessageStyle = MB_ICONERROR | MB_SETFOREGROUND;

// A message box captioned with the product's message caption; returns the box's result.
int ShowMessage(HWND owner, UINT textId, UINT style);
int ShowMessageText(HWND owner, const std::wstring& text, UINT style);

// A question with Yes and No under a caption of its own; true when the answer is Yes.
bool AskYesNo(HWND owner, const std::wstring& text, const std::wstring& caption);
