// ZtOnlineHelp.exe, a stand-in for the maker's online-help program. The programs start it
// with "<topic number>;<product identifier>"; it opens the suite's help file, the one their
// Help buttons open, at the page that the product's help entry gives for that topic (the
// file's first page when there is none) in a help window of its own, as the viewer program
// does, and stays until that window is closed, since the window lives in the process that
// opened it.
#include <windows.h>
// commctrl.h and shellapi.h need windows.h first.
#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "core/help/online_help_request.h"
#include "text/help.h"
#include "win/com_apartment.h"
#include "win/registry.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

// Where the dashboard keeps each product's help entry, named by the product's identifier.
constexpr wchar_t kHelpEntries[] = L"SOFTWARE\\Zentaro\\Applications\\DashBoard\\Help";
constexpr wchar_t kHelpFile[] = L"ztcrypt";

std::wstring Parameters() {
    int count = 0;
    const LocalMemory arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!arguments || count < 2) return {};
    return static_cast<wchar_t**>(arguments.get())[1];
}

// The topic of the help file that the request names; empty for the file's first page.
std::wstring TopicOf(const std::wstring& parameters) {
    const std::optional<core::OnlineHelpRequest> request = core::ParseOnlineHelpRequest(AsU16(parameters));
    if (!request || request->product.empty()) return {};
    const std::optional<std::wstring> entry =
        TryReadExpandedString(HKEY_LOCAL_MACHINE, kHelpEntries, ToWide(request->product).c_str());
    if (!entry) return {};
    const std::optional<std::u16string> page = core::HelpEntryPage(AsU16(*entry), request->topic);
    return page ? L"/" + ToWide(*page) : std::wstring();
}

void RunUntilClosed(HWND window) {
    while (::IsWindow(window)) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const CComApartment apartment;
    // The viewer's toolbar, tabs and contents tree are common controls of this process.
    ::InitCommonControls();
    const std::wstring topic = TopicOf(Parameters());
    const CHelp help(kHelpFile, topic);
    RunUntilClosed(help.Open(nullptr, topic));
    return 0;
}
