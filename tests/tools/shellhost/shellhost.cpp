// shellhost: an Explorer stand-in that does with context-menu handlers what Explorer does, so
// that tests and a person can try the shell plug-in as users meet it:
//
//   shellhost [--first ID] [--position N] [--flags HEX] [--no-ui] [--list FILE]
//             [--verb VERB | --offset N | --show [--pick OFFSET] [--hold FILE MS]] PATH...
//
// For the selected paths it reads the handlers registered for every file ("*") and for
// folders ("Directory"), creates each through COM from the registry, initialises it with the
// shell's own data object for the selection (CF_HDROP), lets it fill a popup menu that already
// holds the host's items, and prints what the menu then holds with each command's verb and
// help text. It then invokes a command by verb or by offset, or shows the menu on the screen
// and invokes what is picked. --list names a UTF-16 file of further paths, one a line, for
// selections too long for a command line. Lines printed, tab-separated:
//   handler NAME CLASSID RESULT    item POSITION ID VERB BITMAPS TEXT HELP
//   shown    picked ID    invoke NAME RESULT
// Exit codes: 0 done, 1 the menu did not come up, 2 bad command line, 3 a handler or the
// selection could not be had.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "shellhost.h"
#include "shellhost_ids.h"
#include "win/com_apartment.h"
#include "win/unique_handle.h"

namespace {

enum ExitCode { kDone = 0, kNotShown = 1, kUsage = 2, kSetupFailed = 3 };

std::wstring Hex(HRESULT hr) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

std::vector<std::wstring> ReadList(const std::wstring& path) {
    std::vector<std::wstring> lines;
    const FileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return lines;
    std::wstring text(::GetFileSize(file.get(), nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool ParseOptions(int count, wchar_t** arguments, HostOptions& options) {
    for (int i = 1; i < count; ++i) {
        const std::wstring argument = arguments[i];
        const bool hasValue = i + 1 < count;
        if (argument == L"--first" && hasValue) {
            options.first = static_cast<UINT>(std::wcstoul(arguments[++i], nullptr, 10));
        } else if (argument == L"--position" && hasValue) {
            options.position = static_cast<UINT>(std::wcstoul(arguments[++i], nullptr, 10));
        } else if (argument == L"--flags" && hasValue) {
            options.flags = static_cast<UINT>(std::wcstoul(arguments[++i], nullptr, 16));
        } else if (argument == L"--no-ui") {
            options.noUi = true;
        } else if (argument == L"--verb" && hasValue) {
            const std::wstring verb = arguments[++i];
            options.verb = std::string(verb.begin(), verb.end());
        } else if (argument == L"--offset" && hasValue) {
            options.offset = static_cast<UINT>(std::wcstoul(arguments[++i], nullptr, 10));
        } else if (argument == L"--show") {
            options.show = true;
        } else if (argument == L"--pick" && hasValue) {
            options.pick = static_cast<UINT>(std::wcstoul(arguments[++i], nullptr, 10));
        } else if (argument == L"--hold" && i + 2 < count) {
            options.holdFile = arguments[++i];
            options.holdMs = static_cast<DWORD>(std::wcstoul(arguments[++i], nullptr, 10));
        } else if (argument == L"--list" && hasValue) {
            for (std::wstring& path : ReadList(arguments[++i])) options.paths.push_back(std::move(path));
        } else if (argument.starts_with(L"--")) {
            return false;
        } else {
            options.paths.push_back(argument);
        }
    }
    return !options.paths.empty();
}

std::wstring ParentOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// An item list the shell allocated, freed with the task allocator.
using ItemList = std::unique_ptr<ITEMIDLIST, decltype(&::CoTaskMemFree)>;

ItemList Parse(IShellFolder& folder, const std::wstring& name) {
    LPITEMIDLIST item = nullptr;
    std::wstring text = name;
    if (FAILED(folder.ParseDisplayName(nullptr, nullptr, text.data(), nullptr, &item, nullptr)))
        item = nullptr;
    return ItemList(item, &::CoTaskMemFree);
}

// The shell's own data object for the selection, asked of the folder that holds it as
// Explorer's folder window does; a selection always lies in one folder.
ComPtr<IDataObject> SelectionDataObject(const std::vector<std::wstring>& paths, ItemList& folderItem) {
    ComPtr<IDataObject> data;
    const std::wstring parent = ParentOf(paths.front());
    for (const std::wstring& path : paths) {
        if (_wcsicmp(ParentOf(path).c_str(), parent.c_str()) != 0) {
            Print(L"error\tthe selected items are not in one folder: " + path);
            return data;
        }
    }
    ComPtr<IShellFolder> desktop;
    ComPtr<IShellFolder> folder;
    if (FAILED(::SHGetDesktopFolder(desktop.put()))) return data;
    folderItem = Parse(*desktop.get(), parent + L"\\");
    if (!folderItem ||
        FAILED(desktop->BindToObject(folderItem.get(), nullptr, IID_IShellFolder, folder.put_void()))) {
        Print(L"error\tcannot open the folder " + parent);
        return data;
    }
    std::vector<ItemList> children;
    std::vector<LPCITEMIDLIST> items;
    for (const std::wstring& path : paths) {
        children.push_back(Parse(*folder.get(), path.substr(parent.size() + 1)));
        if (!children.back()) {
            Print(L"error\tcannot find " + path);
            return data;
        }
        items.push_back(children.back().get());
    }
    const HRESULT hr = folder->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), items.data(),
                                             IID_IDataObject, nullptr, data.put_void());
    if (FAILED(hr)) Print(L"error\tno data object: " + Hex(hr));
    return data;
}

// The handler keys Explorer reads for a selection: "*" for files, "Directory" for folders.
std::vector<const wchar_t*> Roots(const std::vector<std::wstring>& paths) {
    bool file = false;
    bool folder = false;
    for (const std::wstring& path : paths) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? folder : file) =
            true;
    }
    std::vector<const wchar_t*> roots;
    if (file) roots.push_back(L"*\\shellex\\ContextMenuHandlers");
    if (folder) roots.push_back(L"Directory\\shellex\\ContextMenuHandlers");
    return roots;
}

std::wstring ReadDefault(HKEY parent, const wchar_t* name) {
    wchar_t text[MAX_PATH] = {};
    LONG bytes = sizeof text - sizeof(wchar_t);
    return ::RegQueryValueW(parent, name, text, &bytes) == ERROR_SUCCESS ? text : L"";
}

void AddHandlersOf(const wchar_t* root, std::vector<LoadedHandler>& handlers) {
    RegKey key;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, root, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    wchar_t name[MAX_PATH];
    for (DWORD index = 0, units = MAX_PATH;
         ::RegEnumKeyExW(key.get(), index, name, &units, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++index, units = MAX_PATH) {
        const std::wstring classId = ReadDefault(key.get(), name);
        bool known = false;
        for (const LoadedHandler& handler : handlers) known = known || handler.classId == classId;
        if (!known) handlers.push_back({name, classId, {}, 0, 0});
    }
}

// Creates, initialises and asks each handler, as Explorer does, each after the one before.
bool LoadHandlers(const HostOptions& options, LPCITEMIDLIST folder, IDataObject* data, HMENU menu,
                  std::vector<LoadedHandler>& handlers) {
    for (const wchar_t* root : Roots(options.paths)) AddHandlersOf(root, handlers);
    UINT first = options.first;
    for (LoadedHandler& handler : handlers) {
        CLSID clsid{};
        ComPtr<IShellExtInit> init;
        HRESULT hr = ::CLSIDFromString(handler.classId.data(), &clsid);
        if (SUCCEEDED(hr))
            hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put_void());
        if (SUCCEEDED(hr)) hr = init->Initialize(folder, data, nullptr);
        if (SUCCEEDED(hr)) hr = init->QueryInterface(IID_IContextMenu, handler.menu.put_void());
        if (SUCCEEDED(hr))
            hr = handler.menu->QueryContextMenu(menu, options.position, first, 0x7FFF, options.flags);
        Print(L"handler\t" + handler.name + L"\t" + handler.classId + L"\t" + Hex(hr));
        if (FAILED(hr)) return false;
        handler.first = first;
        handler.used = HRESULT_CODE(hr);
        first += handler.used;
    }
    return true;
}

const LoadedHandler* OwnerOf(const std::vector<LoadedHandler>& handlers, UINT id) {
    for (const LoadedHandler& handler : handlers) {
        if (id >= handler.first && id < handler.first + handler.used) return &handler;
    }
    return nullptr;
}

std::wstring CommandString(const LoadedHandler& handler, UINT id, UINT kind) {
    wchar_t text[MAX_PATH] = {};
    const HRESULT hr = handler.menu->GetCommandString(id - handler.first, kind, nullptr,
                                                      reinterpret_cast<CHAR*>(text), MAX_PATH);
    return SUCCEEDED(hr) ? text : L"-";
}

void PrintItems(HMENU menu, const std::vector<LoadedHandler>& handlers) {
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_CHECKMARKS;
        ::GetMenuItemInfoW(menu, position, TRUE, &item);
        wchar_t text[MAX_PATH] = {};
        ::GetMenuStringW(menu, position, text, MAX_PATH, MF_BYPOSITION);
        const LoadedHandler* owner = OwnerOf(handlers, item.wID);
        const bool bitmaps = item.hbmpChecked && item.hbmpUnchecked;
        Print(L"item\t" + std::to_wstring(position) + L"\t" + std::to_wstring(item.wID) + L"\t" +
              (owner ? CommandString(*owner, item.wID, GCS_VERBW) : L"-") + L"\t" + (bitmaps ? L"1" : L"0") +
              L"\t" + text + L"\t" + (owner ? CommandString(*owner, item.wID, GCS_HELPTEXTW) : L"-"));
    }
}

void Invoke(const LoadedHandler& handler, LPCSTR verb, bool noUi) {
    CMINVOKECOMMANDINFO invocation{};
    invocation.cbSize = sizeof invocation;
    invocation.fMask = noUi ? CMIC_MASK_FLAG_NO_UI : 0;
    invocation.lpVerb = verb;
    invocation.nShow = SW_SHOWNORMAL;
    Print(L"invoke\t" + handler.name + L"\t" + Hex(handler.menu->InvokeCommand(&invocation)));
}

int Run(const HostOptions& options) {
    ItemList folder(nullptr, &::CoTaskMemFree);
    const ComPtr<IDataObject> data = SelectionDataObject(options.paths, folder);
    if (!data) {
        Print(L"error\tno data object for the selection");
        return kSetupFailed;
    }
    const HMENU menu =
        ::GetSubMenu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_HOST_MENU)), 0);
    std::vector<LoadedHandler> handlers;
    if (!menu || !LoadHandlers(options, folder.get(), data.get(), menu, handlers)) return kSetupFailed;
    PrintItems(menu, handlers);
    if (options.verb) {
        for (const LoadedHandler& handler : handlers) Invoke(handler, options.verb->c_str(), options.noUi);
    } else if (options.offset && !handlers.empty()) {
        Invoke(handlers.front(), MAKEINTRESOURCEA(*options.offset), options.noUi);
    } else if (options.show) {
        const std::optional<UINT> chosen = ShowMenu(menu, options, options.paths);
        if (!chosen) return kNotShown;
        Print(L"picked\t" + std::to_wstring(*chosen));
        if (const LoadedHandler* owner = OwnerOf(handlers, *chosen)) {
            Invoke(*owner, MAKEINTRESOURCEA(*chosen - owner->first), options.noUi);
        }
    }
    return kDone;
}

}  // namespace

void Print(const std::wstring& line) {
    const std::wstring text = line + L"\n";
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                            0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
                nullptr);
}

int wmain(int count, wchar_t** arguments) {
    HostOptions options;
    if (!ParseOptions(count, arguments, options)) {
        Print(
            L"usage: shellhost [--first ID] [--position N] [--flags HEX] [--no-ui] [--list FILE] "
            L"[--verb VERB | --offset N | --show [--pick OFFSET] [--hold FILE MS]] PATH...");
        return kUsage;
    }
    const CComApartment apartment;
    if (!apartment.Ok()) return kSetupFailed;
    return Run(options);
}
