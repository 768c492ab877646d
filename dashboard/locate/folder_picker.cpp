#include "dashboard/locate/folder_picker.h"

#include <commdlg.h>
#include <shlobj.h>

#include "dashboard/resources/resource_ids.h"
#include "dashboard/rules/nearest_folder.h"
#include "ui/window_placement.h"
#include "ui/window_subclass.h"
#include "win/long_path.h"
#include "win/sized_text.h"
#include "win/system_library.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace {

// The browse dialog's own controls.
constexpr int kTreeId = 0x3741;
constexpr int kStatusId = 0x3743;
// Where the dialog keeps the request, for whoever looks at the picker.
constexpr wchar_t kRequestProperty[] = L"MyOfnStruct";
constexpr std::size_t kTitleUnits = 256;

void FreeItemList(ITEMIDLIST* list) {
    ::CoTaskMemFree(list);
}
using ItemList = UniqueHandle<SimpleTraits<ITEMIDLIST*, nullptr, FreeItemList>>;

std::wstring CurrentFolder() {
    return SizedText([](wchar_t* text, DWORD units) { return ::GetCurrentDirectoryW(units, text); });
}

// The folder's path, however long: Vista's call takes the room it is given, XP's only
// MAX_PATH. Empty for an item that is no folder of the file system.
std::wstring FolderPathOf(const ITEMIDLIST* folder) {
    using PathFromList = BOOL(WINAPI*)(const ITEMIDLIST*, wchar_t*, DWORD, int);
    const auto vista = LoadedLibraryFunction<PathFromList>(L"shell32.dll", "SHGetPathFromIDListEx");
    std::wstring path(vista ? kLongestPathUnits : MAX_PATH, L'\0');
    const BOOL found = vista ? vista(folder, path.data(), static_cast<DWORD>(path.size()), 0)
                             : ::SHGetPathFromIDListW(folder, path.data());
    return found ? std::wstring(path.c_str()) : std::wstring();
}

bool IsFolder(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(LongPathForm(ToWide(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

RECT ChildRect(HWND dialog, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dialog while it is up: the path it would return, and the field that shows it.
class CFolderPicker final : public CWindowSubclass {
public:
    explicit CFolderPicker(LocateRequest& request)
        : request_(request),
          working_(request.initialFolder.empty() ? CurrentFolder() : request.initialFolder) {}

    bool Run();

private:
    static int CALLBACK Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data);
    void OnStart(HWND dialog);
    void AddPathField(HWND dialog);
    void OnSelectionChanged(const ITEMIDLIST* folder) const;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Whether OK may end the dialog with the working path.
    bool AcceptWorkingPath();

    LocateRequest& request_;
    std::wstring working_;
    HWND field_ = nullptr;
    bool accepted_ = false;
};

bool CFolderPicker::Run() {
    // The dialog writes the chosen folder's display name, a single name, there.
    wchar_t displayName[MAX_PATH] = {};
    const std::wstring title = request_.title.substr(0, kTitleUnits - 1);
    BROWSEINFOW browse{};
    browse.hwndOwner = request_.owner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    browse.lpfn = Callback;
    browse.lParam = reinterpret_cast<LPARAM>(this);
    const ItemList chosen(::SHBrowseForFolderW(&browse));
    return chosen && accepted_;
}

int CALLBACK CFolderPicker::Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
    auto* self = reinterpret_cast<CFolderPicker*>(data);
    if (message == BFFM_INITIALIZED) self->OnStart(dialog);
    if (message == BFFM_SELCHANGED) self->OnSelectionChanged(reinterpret_cast<const ITEMIDLIST*>(lParam));
    return 0;
}

void CFolderPicker::OnStart(HWND dialog) {
    ::SetPropW(dialog, kRequestProperty, &request_);
    AddPathField(dialog);
    const std::u16string start = core::NearestExistingFolder(
        AsU16(working_), [](const std::u16string& path) { return IsFolder(path); });
    if (!start.empty()) {
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(ToWide(start).c_str()));
    }
    // After the selection, which writes its own path into the field.
    ::SetWindowTextW(field_, working_.c_str());
    ::SetWindowTextW(dialog, request_.title.c_str());
    CentreOverOwner(dialog, request_.owner);
    Attach(dialog);
}

// The status text goes and the tree takes its place; the field goes under the tree, as wide
// as it is, in the dialog's font.
void CFolderPicker::AddPathField(HWND dialog) {
    const HWND tree = ::GetDlgItem(dialog, kTreeId);
    const HWND status = ::GetDlgItem(dialog, kStatusId);
    RECT treeRect = ChildRect(dialog, tree);
    if (status) {
        treeRect.top = ChildRect(dialog, status).top;
        ::ShowWindow(status, SW_HIDE);
    }
    RECT fieldSize{0, 0, 0, 14};
    ::MapDialogRect(dialog, &fieldSize);
    const LONG gap = fieldSize.bottom / 3;
    const LONG fieldTop = treeRect.bottom - fieldSize.bottom;
    ::SetWindowPos(tree, nullptr, treeRect.left, treeRect.top, treeRect.right - treeRect.left,
                   fieldTop - gap - treeRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    field_ =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                          treeRect.left, fieldTop, treeRect.right - treeRect.left, fieldSize.bottom, dialog,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PICKER_PATH)),
                          reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    ::SendMessageW(field_, WM_SETFONT, ::SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    ::SetWindowPos(field_, tree, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CFolderPicker::OnSelectionChanged(const ITEMIDLIST* folder) const {
    if (!field_ || !folder) return;
    const std::wstring path = FolderPathOf(folder);
    if (!path.empty()) ::SetWindowTextW(field_, path.c_str());
}

LRESULT CFolderPicker::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_PICKER_PATH && HIWORD(wParam) == EN_CHANGE) {
        std::wstring path(static_cast<std::size_t>(::GetWindowTextLengthW(field_)) + 1, L'\0');
        path.resize(
            static_cast<std::size_t>(::GetWindowTextW(field_, path.data(), static_cast<int>(path.size()))));
        working_ = path;
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK && !AcceptWorkingPath()) {
        return 0;
    } else if (message == WM_DESTROY) {
        ::RemovePropW(Window(), kRequestProperty);
    }
    return Default(message, wParam, lParam);
}

bool CFolderPicker::AcceptWorkingPath() {
    request_.chosen = working_;
    accepted_ = !request_.check || !request_.check(Window(), CDN_FILEOK, request_);
    return accepted_;
}

}  // namespace

bool RunFolderPicker(LocateRequest& request) {
    CFolderPicker picker(request);
    return picker.Run();
}
