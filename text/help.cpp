#include "text/help.h"

#include "core/help_file_name.h"
#include "text/product_folders.h"
#include "win/path_parts.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

// The viewer's entry point, by ordinal as hhctrl.ocx exports it, and the commands used.
using HtmlHelpFunction = HWND(WINAPI*)(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data);
constexpr WORD kHtmlHelpOrdinal = 15;
constexpr UINT kDisplayTopic = 0x0000;
constexpr UINT kSetWindowType = 0x0004;
constexpr UINT kGetWindowType = 0x0011;

// Loaded on first use and kept for the life of the process.
HtmlHelpFunction HtmlHelpEntry() {
    static const Library viewer(::LoadLibraryW(L"hhctrl.ocx"));
    static const auto entry = viewer
                                  ? reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(
                                        ::GetProcAddress(viewer.get(), MAKEINTRESOURCEA(kHtmlHelpOrdinal))))
                                  : nullptr;
    return entry;
}

}  // namespace

CHelp::CHelp(const std::wstring& baseName, std::wstring topic) : topic_(std::move(topic)) {
    shortName_ = ToWide(core::HelpFileName(AsU16(baseName), ::GetUserDefaultUILanguage()));
    path_ = WithTrailingSeparator(GetInstallationFolder()) + L"Help\\" + shortName_;
}

void CHelp::ShowHelp(HWND owner, const std::wstring& topic) const {
    const HtmlHelpFunction htmlHelp = HtmlHelpEntry();
    if (!htmlHelp) return;
    const std::wstring address = topic.empty() ? path_ : path_ + L"::" + topic;
    htmlHelp(owner, address.c_str(), kDisplayTopic, 0);
    // Setting the viewer's own window type again makes it come up in front of the owner.
    void* windowType = nullptr;
    if (htmlHelp(owner, address.c_str(), kGetWindowType, reinterpret_cast<DWORD_PTR>(&windowType)) &&
        windowType) {
        htmlHelp(owner, address.c_str(), kSetWindowType, reinterpret_cast<DWORD_PTR>(windowType));
    }
    htmlHelp(owner, address.c_str(), kDisplayTopic, 0);
}
