// ZTDashBoard.exe: a stand-in for the maker's dashboard, the host of the file-protection
// plug-in. Without arguments it shows the pages of the registered plug-ins in a property
// sheet and reminds the user of decrypted items meanwhile; "/status" prints what the
// plug-in's status object answers, one line each, and ends.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "plugin_pages.h"
#include "reminder.h"
#include "resource_ids.h"
#include "status.h"
#include "text/integer_text.h"
#include "text/message_box.h"
#include "text/res_string.h"
#include "win/com_apartment.h"
#include "win/unique_handle.h"

namespace {

enum ExitCode { kDone = 0, kNoPages = 1, kNoStatus = 2 };

void PrintLine(UINT formatId, DWORD value) {
    const std::wstring line = FormatInteger(LoadResString(formatId), value) + L"\r\n";
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr,
                                            0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
                nullptr);
}

int PrintStatus() {
    const StatusAnswers answers = AskStatus();
    if (FAILED(answers.created)) {
        PrintLine(IDS_STATUS_UNAVAILABLE, static_cast<DWORD>(answers.created));
        return kNoStatus;
    }
    PrintLine(IDS_STATUS_ITEMS, static_cast<DWORD>(answers.hasItems));
    PrintLine(IDS_STATUS_TIMEOUT, static_cast<DWORD>(answers.timeout));
    return SUCCEEDED(answers.hasItemsResult) && SUCCEEDED(answers.timeoutResult) ? kDone : kNoStatus;
}

// The titles the tabs show: the pages have none of their own. Read by the sheet's callback,
// which is given nothing of the caller's.
const std::vector<PlugInPage>* g_shownPages = nullptr;

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message != PSCB_INITIALIZED || !g_shownPages) return 0;
    const HWND tabs = PropSheet_GetTabControl(sheet);
    for (std::size_t i = 0; i < g_shownPages->size(); ++i) {
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<wchar_t*>((*g_shownPages)[i].title.c_str());
        TabCtrl_SetItem(tabs, static_cast<int>(i), &tab);
    }
    return 0;
}

// The sheet is titled after the first page and carries its icon.
void ShowPages(const std::vector<PlugInPage>& pages) {
    std::vector<HPROPSHEETPAGE> handles;
    for (const PlugInPage& page : pages) handles.push_back(page.page);
    const IconHandle icon(static_cast<HICON>(::LoadImageW(pages[0].module, MAKEINTRESOURCEW(pages[0].iconId),
                                                          IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                          ::GetSystemMetrics(SM_CYSMICON), 0)));
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW | PSH_USEHICON | PSH_USECALLBACK;
    header.hIcon = icon.get();
    header.pszCaption = pages[0].title.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.phpage = handles.data();
    header.pfnCallback = SheetCallback;
    g_shownPages = &pages;
    // The sheet destroys the pages when it closes; the plug-ins stay loaded until then.
    ::PropertySheetW(&header);
    g_shownPages = nullptr;
}

int ShowDashboard() {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const CReminder reminder;
    const std::vector<PlugInPage> pages = LoadPlugInPages();
    if (pages.empty()) {
        ShowMessage(nullptr, IDS_NO_PLUGINS, MB_ICONINFORMATION);
        return kNoPages;
    }
    ShowPages(pages);
    return kDone;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
    const CComApartment com;
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const bool status = count > 1 && ::lstrcmpiW(arguments[1], L"/status") == 0;
    ::LocalFree(arguments);
    return status ? PrintStatus() : ShowDashboard();
}
