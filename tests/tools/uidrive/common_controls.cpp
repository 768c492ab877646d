// uidrive's actions on list views, their headers and tree views of another program. Their
// messages carry pointers, which must point into that program's memory: each action gets a
// block there, writes the request into it and reads the answer back.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "uidrive.h"

namespace {

constexpr int kTextUnits = 1024;

// A block of another program's memory, freed with the object.
class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            base_ = ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!base_)
            throw Failure{kControlFailed, L"uidrive: cannot reach the memory of the window's program"};
    }
    ~RemoteMemory() {
        if (base_) ::VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_) ::CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    // The address, in the other program, of a place in the block.
    template <class T = void>
    T* At(std::size_t offset) const {
        return reinterpret_cast<T*>(static_cast<char*>(base_) + offset);
    }
    void Write(std::size_t offset, const void* data, std::size_t size) const {
        if (!::WriteProcessMemory(process_, At(offset), data, size, nullptr)) Fail();
    }
    void Read(std::size_t offset, void* data, std::size_t size) const {
        if (!::ReadProcessMemory(process_, At(offset), data, size, nullptr)) Fail();
    }
    std::wstring ReadText(std::size_t offset) const {
        std::vector<wchar_t> text(kTextUnits);
        Read(offset, text.data(), text.size() * sizeof(wchar_t));
        text.back() = L'\0';
        return text.data();
    }

private:
    [[noreturn]] static void Fail() {
        throw Failure{kControlFailed, L"uidrive: cannot read or write the memory of the window's program"};
    }

    HANDLE process_ = nullptr;
    void* base_ = nullptr;
};

// A struct followed by a text buffer, as one block.
template <class T>
struct RemoteRequest {
    explicit RemoteRequest(HWND window) : memory(window, sizeof(T) + kTextUnits * sizeof(wchar_t)) {}
    wchar_t* Text() const { return memory.At<wchar_t>(sizeof(T)); }
    RemoteMemory memory;
};

std::wstring CellText(HWND list, int id, int row, int column, const Deadline& deadline) {
    RemoteRequest<LVITEMW> request(list);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = request.Text();
    item.cchTextMax = kTextUnits;
    request.memory.Write(0, &item, sizeof item);
    Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(request.memory.At(0)),
         deadline, id);
    return request.memory.ReadText(sizeof(LVITEMW));
}

HWND HeaderOf(HWND list, int id, const Deadline& deadline) {
    const HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0, deadline, id));
    if (!header)
        throw Failure{kControlFailed, L"uidrive: control " + std::to_wstring(id) + L" has no header"};
    return header;
}

// A rectangle that a message fills in, in the other program's memory; left may carry a
// request as LVM_GETITEMRECT takes it.
RECT AskRect(HWND control, UINT message, WPARAM wParam, LONG left, const Deadline& deadline, int id) {
    RemoteMemory memory(control, sizeof(RECT));
    RECT rect{left, 0, 0, 0};
    memory.Write(0, &rect, sizeof rect);
    if (!Send(control, message, wParam, reinterpret_cast<LPARAM>(memory.At(0)), deadline, id)) {
        throw Failure{kControlFailed, L"uidrive: control " + std::to_wstring(id) + L" has no such item"};
    }
    memory.Read(0, &rect, sizeof rect);
    return rect;
}

void PostClick(HWND window, POINT at, WPARAM keys) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, where);
    ::PostMessageW(window, WM_LBUTTONUP, keys, where);
}

BOOL CALLBACK VisitListView(HWND child, LPARAM param) {
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    if (::lstrcmpiW(name, WC_LISTVIEWW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
}

int ColumnCount(HWND header, int id, const Deadline& deadline) {
    return static_cast<int>(Send(header, HDM_GETITEMCOUNT, 0, 0, deadline, id));
}

}  // namespace

void PrintRows(HWND list, int id, const Deadline& deadline) {
    const int columns = ColumnCount(HeaderOf(list, id, deadline), id, deadline);
    const int rows = static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0, deadline, id));
    for (int row = 0; row < rows; ++row) {
        const auto state = static_cast<UINT>(
            Send(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK | LVIS_SELECTED | LVIS_CUT, deadline, id));
        std::wstring line =
            L"row " + std::to_wstring(row) + L"\t" + std::to_wstring((state & LVIS_STATEIMAGEMASK) >> 12);
        std::wstring flags;
        if (state & LVIS_SELECTED) flags += L"selected,";
        if (state & LVIS_CUT) flags += L"cut,";
        if (!flags.empty()) flags.pop_back();
        line += L"\t" + (flags.empty() ? std::wstring(L"-") : flags);
        for (int column = 0; column < columns; ++column)
            line += L"\t" + CellText(list, id, row, column, deadline);
        Write(STD_OUTPUT_HANDLE, line + L"\n");
    }
}

void PrintHeader(HWND list, int id, const Deadline& deadline) {
    const HWND header = HeaderOf(list, id, deadline);
    const int columns = ColumnCount(header, id, deadline);
    for (int column = 0; column < columns; ++column) {
        RemoteRequest<HDITEMW> request(header);
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_IMAGE | HDI_FORMAT;
        item.pszText = request.Text();
        item.cchTextMax = kTextUnits;
        request.memory.Write(0, &item, sizeof item);
        Send(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(request.memory.At(0)), deadline, id);
        request.memory.Read(0, &item, sizeof item);
        const int image = (item.fmt & HDF_IMAGE) ? item.iImage : -1;
        Write(STD_OUTPUT_HANDLE, L"header " + std::to_wstring(column) + L"\t" + std::to_wstring(image) +
                                     L"\t" + request.memory.ReadText(sizeof(HDITEMW)) + L"\n");
    }
}

void ClickCell(HWND list, int id, int row, int column, int x, bool ctrl, const Deadline& deadline) {
    const HWND header = HeaderOf(list, id, deadline);
    RECT cell = AskRect(header, HDM_GETITEMRECT, column, 0, deadline, id);
    ::MapWindowPoints(header, list, reinterpret_cast<POINT*>(&cell), 2);
    const RECT rowRect = AskRect(list, LVM_GETITEMRECT, row, LVIR_BOUNDS, deadline, id);
    const POINT at{x >= 0 ? cell.left + x : cell.right + x, (rowRect.top + rowRect.bottom) / 2};
    PostClick(list, at, ctrl ? MK_CONTROL : 0);
}

void ClickColumn(HWND list, int id, int column, const Deadline& deadline) {
    const HWND header = HeaderOf(list, id, deadline);
    const RECT item = AskRect(header, HDM_GETITEMRECT, column, 0, deadline, id);
    PostClick(header, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}, 0);
}

void PrintTreeSelection(HWND tree, int id, const Deadline& deadline) {
    const LRESULT selected = Send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, deadline, id);
    std::wstring text;
    if (selected) {
        RemoteRequest<TVITEMW> request(tree);
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = reinterpret_cast<HTREEITEM>(selected);
        item.pszText = request.Text();
        item.cchTextMax = kTextUnits;
        request.memory.Write(0, &item, sizeof item);
        Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(request.memory.At(0)), deadline, id);
        text = request.memory.ReadText(sizeof(TVITEMW));
    }
    Write(STD_OUTPUT_HANDLE, std::to_wstring(id) + L": " + text + L"\n");
}

void SelectAllRows(HWND window, const Deadline& deadline) {
    HWND list = nullptr;
    ::EnumChildWindows(window, VisitListView, reinterpret_cast<LPARAM>(&list));
    if (!list) throw Failure{kControlFailed, L"uidrive: the window has no list view"};
    // Row -1 stands for every row; the list tells its parent of the change as it does for keys.
    RemoteMemory memory(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    memory.Write(0, &item, sizeof item);
    const int id = ::GetDlgCtrlID(list);
    if (!Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(memory.At(0)),
              deadline, id)) {
        throw Failure{kControlFailed, L"uidrive: list view " + std::to_wstring(id) + L" selected nothing"};
    }
}
