#include "dashboard/locate/file_picker.h"

#include <commdlg.h>

#include <algorithm>

#include "ui/window_placement.h"
#include "win/long_path.h"

namespace {

// Explorer style, resizable, the file and its folder must exist, no read-only box, and the
// process's current folder is left alone.
constexpr DWORD kPickerFlags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                               OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
static_assert(kPickerFlags == 0x0088182C);

constexpr std::size_t kFilterUnits = 1024;

// The dialog's type list: each vertical bar ends a part, and an empty part ends the list.
std::wstring DialogFilter(const std::wstring& barred) {
    std::wstring filter = barred.substr(0, kFilterUnits - 2);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.append(2, L'\0');
    return filter;
}

UINT_PTR CALLBACK Hook(HWND hookDialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hookDialog, DWLP_USER, reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
        return 0;
    }
    auto* request = reinterpret_cast<LocateRequest*>(::GetWindowLongPtrW(hookDialog, DWLP_USER));
    const HWND picker = ::GetParent(hookDialog);
    const UINT code = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
    // In the middle from the start, and again whenever it is sized.
    if (message == WM_SIZE || code == CDN_INITDONE) CentreOnWorkArea(picker);
    if (message != WM_NOTIFY || !request || !request->check) return 0;
    // The dialog has filled its file buffer with the chosen path before it asks.
    if (code == CDN_FILEOK) request->chosen = reinterpret_cast<const OFNOTIFYW*>(lParam)->lpOFN->lpstrFile;
    // The answer is set either way: the dialog reads it, and one left from an earlier
    // refusal would refuse this choice too.
    const bool refused = request->check(picker, code, *request);
    ::SetWindowLongPtrW(hookDialog, DWLP_MSGRESULT, refused ? 1 : 0);
    return refused ? 1 : 0;
}

}  // namespace

bool RunFilePicker(LocateRequest& request) {
    const std::wstring filter = DialogFilter(request.filter);
    // A path of any length fits, the start included.
    std::wstring file = request.chosen.substr(0, kLongestPathUnits - 1);
    file.resize(kLongestPathUnits, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = kPickerFlags;
    dialog.lpstrDefExt = L"";
    dialog.lCustData = reinterpret_cast<LPARAM>(&request);
    dialog.lpfnHook = Hook;
    if (!::GetOpenFileNameW(&dialog)) return false;
    request.chosen = file.c_str();
    return true;
}
