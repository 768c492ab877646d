#pragma once
#include <windows.h>

#include <string>

// The HTML help viewer's entry point, with the signature of HtmlHelpW.
using HtmlHelpFunction = HWND(WINAPI*)(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data);

// The entry point of the system's viewer (hhctrl.ocx from the system folder), loaded on first
// use and kept for the life of the process; null when there is no viewer.
HtmlHelpFunction SystemHtmlHelp();

// A compiled help file in the installation's Help folder, in the user's language where the
// help exists in it, and the topic to open in it.
class CHelp {
public:
    CHelp(const std::wstring& baseName, std::wstring topic);

    const std::wstring& Path() const { return path_; }
    const std::wstring& ShortName() const { return shortName_; }
    const std::wstring& Topic() const { return topic_; }

    // Shows the topic in the viewer, in front of the owner; nothing when there is no viewer.
    void ShowHelp(HWND owner, const std::wstring& topic, HtmlHelpFunction viewer = SystemHtmlHelp()) const;
    // Only displays the topic, as the viewer program does; the help window, null when there
    // is no viewer.
    HWND Open(HWND owner, const std::wstring& topic, HtmlHelpFunction viewer = SystemHtmlHelp()) const;

private:
    std::wstring Address(const std::wstring& topic) const;

    std::wstring path_;
    std::wstring shortName_;
    std::wstring topic_;
};
