#pragma once
#include <windows.h>

#include <string>

// A compiled help file in the installation's Help folder, in the user's language where the
// help exists in it, and the topic to open in it.
class CHelp {
public:
    CHelp(const std::wstring& baseName, std::wstring topic);

    const std::wstring& Path() const { return path_; }
    const std::wstring& ShortName() const { return shortName_; }
    const std::wstring& Topic() const { return topic_; }

    // Shows the topic in the system's HTML help viewer; nothing when there is no viewer.
    void ShowHelp(HWND owner, const std::wstring& topic) const;

private:
    std::wstring path_;
    std::wstring shortName_;
    std::wstring topic_;
};
