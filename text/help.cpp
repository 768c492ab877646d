#include "text/help.h"

#include "core/help/help_file_name.h"
#include "text/product_folders.h"
#include "win/path_parts.h"
#include "win/system_library.h"
#include "win/wide_text.h"

namespace {

// The viewer's entry point, by ordinal as hhctrl.ocx exports it, and the commands used.
constexpr WORD kHtmlHelpOrdinal = 15;
constexpr UINT kDisplayTopic = 0x0000;
constexpr UINT kSetWindowType = 0x0004;
constexpr UINT kGetWindowType = 0x0005;

}  // namespace

HtmlHelpFunction SystemHtmlHelp() {
    static const Library viewer = LoadSystemLibrary(L"hhctrl.ocx");
    static const auto entry = viewer
                                  ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(
                                        ::GetProcAddress(viewer.get(), MAKEINTRESOURCEA(kHtmlHelpOrdinal))))
                                  : nullptr;
    return entry;
}

CHelp::CHelp(const std::wstring& baseName, std::wstring topic) : topic_(std::move(topic)) {
    shortName_ = ToWide(core::HelpFileName(AsU16(baseName), ::GetUserDefaultUILanguage()));
    path_ = WithTrailingSeparator(GetInstallationFolder()) + L"Help\\" + shortName_;
}

std::wstring CHelp::Address(const std::wstring& topic) const {
    return topic.empty() ? path_ : path_ + L"::" + topic;
}

HWND CHelp::Open(HWND owner, const std::wstring& topic, HtmlHelpFunction viewer) const {
    return viewer ? viewer(owner, Address(topic).c_str(), kDisplayTopic, 0) : nullptr;
}

void CHelp::ShowHelp(HWND owner, const std::wstring& topic, HtmlHelpFunction viewer) const {
    if (!viewer) return;
    const std::wstring address = Address(topic);
    Open(owner, topic, viewer);
    // Setting the viewer's own window type again makes it come up in front of the owner. The
    // query answers with the help window, none while there is none, or -1 for an unknown type.
    void* windowType = nullptr;
    const HWND window =
        viewer(owner, address.c_str(), kGetWindowType, reinterpret_cast<DWORD_PTR>(&windowType));
    if (window && window != reinterpret_cast<HWND>(-1) && ::IsWindow(window) && windowType)
        viewer(owner, address.c_str(), kSetWindowType, reinterpret_cast<DWORD_PTR>(windowType));
    Open(owner, topic, viewer);
}
