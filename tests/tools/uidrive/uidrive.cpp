// uidrive: answers a program's dialogs the way a person would, for end-to-end tests under
// Wine. It waits for a top-level window, identified by its title or by the IDs of controls
// its dialog has, then reads and sets control texts and clicks buttons, in the order given:
//
//   uidrive [--timeout MS] [--title TEXT] [--class NAME] [--controls ID,ID...] ACTION...
//     --get ID        print the control's text as "ID: text"
//     --get-title     print the window's title as "title: text"
//     --set ID TEXT   put TEXT into an edit field
//     --wait ID TEXT  wait until the control's text is TEXT
//     --click ID      click a button
//     --key ID KEY    press a key in a control: Delete, Enter, Space, Up or Down, or Alt+ one
//     --wait-rows ID N  wait until a list view has N rows
//     --wait-enabled ID wait until the control can be used
//     --command ID    choose the window's menu command ID
//     --close         close the window as its close box does
//     --gone          wait until the window has closed
//   and the actions on list views and tree views that uidrive.h lists (--rows, --header,
//   --click-cell, --ctrl-click-cell, --click-column, --tree-selection, --select-all). Controls
//   are found at any depth, so a property sheet's pages are driven through the sheet.
//
// Every wait ends at the timeout (10000 ms unless given) with a message saying what did not
// happen, and a hung program cannot block the driver. Exit codes: 0 done, 1 timed out,
// 2 bad command line, 3 a control is missing, disabled or did not answer.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "uidrive.h"

namespace {

struct Action {
    std::wstring verb;
    int id = 0;
    std::wstring text;
    std::vector<int> numbers;
};

struct Options {
    DWORD timeoutMs = 10000;
    std::optional<std::wstring> title;
    std::optional<std::wstring> className;
    std::vector<int> controls;
    std::vector<Action> actions;
};

std::optional<long> ParseSigned(const wchar_t* text, long min, long max) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (end == text || *end != L'\0' || value < min || value > max) return std::nullopt;
    return value;
}

std::optional<long> ParseNumber(const wchar_t* text, long max) {
    return ParseSigned(text, 0, max);
}

std::optional<int> ParseId(const wchar_t* text) {
    const std::optional<long> id = ParseNumber(text, 0xFFFF);
    if (!id) return std::nullopt;
    return static_cast<int>(*id);
}

std::optional<std::vector<int>> ParseIds(const std::wstring& list) {
    std::vector<int> ids;
    for (std::size_t from = 0; from <= list.size();) {
        const std::size_t comma = std::min(list.find(L',', from), list.size());
        const std::optional<int> id = ParseId(list.substr(from, comma - from).c_str());
        if (!id) return std::nullopt;
        ids.push_back(*id);
        from = comma + 1;
    }
    return ids;
}

// Takes an option's argument, or reports that it is missing.
const wchar_t* Next(int argc, wchar_t** argv, int& i) {
    if (i + 1 >= argc) throw Failure{kUsage, std::wstring(L"uidrive: ") + argv[i] + L" needs an argument"};
    return argv[++i];
}

int NextId(int argc, wchar_t** argv, int& i) {
    const wchar_t* option = argv[i];
    const std::optional<int> id = ParseId(Next(argc, argv, i));
    if (!id) throw Failure{kUsage, std::wstring(L"uidrive: ") + option + L" needs a control ID"};
    return *id;
}

// The numbers after an option's control ID, each within -65535 to 65535.
std::vector<int> NextNumbers(int argc, wchar_t** argv, int& i, int count) {
    const wchar_t* option = argv[i - 1];
    std::vector<int> numbers;
    for (int n = 0; n < count; ++n) {
        const std::optional<long> number = ParseSigned(Next(argc, argv, i), -0xFFFF, 0xFFFF);
        if (!number) throw Failure{kUsage, std::wstring(L"uidrive: ") + option + L" needs numbers"};
        numbers.push_back(static_cast<int>(*number));
    }
    return numbers;
}

// How many numbers follow the control ID of each action that takes numbers.
int NumbersOf(const std::wstring& verb) {
    if (verb == L"--click-cell" || verb == L"--ctrl-click-cell") return 3;
    if (verb == L"--click-column" || verb == L"--wait-rows") return 1;
    return 0;
}

Options ParseOptions(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--timeout") {
            const std::optional<long> ms = ParseNumber(Next(argc, argv, i), 3600000);
            if (!ms) throw Failure{kUsage, L"uidrive: --timeout needs milliseconds (at most an hour)"};
            options.timeoutMs = static_cast<DWORD>(*ms);
        } else if (arg == L"--title") {
            options.title = Next(argc, argv, i);
        } else if (arg == L"--class") {
            options.className = Next(argc, argv, i);
        } else if (arg == L"--controls") {
            auto ids = ParseIds(Next(argc, argv, i));
            if (!ids) throw Failure{kUsage, L"uidrive: --controls needs IDs separated by commas"};
            options.controls = *ids;
        } else if (arg == L"--get" || arg == L"--click" || arg == L"--rows" || arg == L"--header" ||
                   arg == L"--tree-selection" || arg == L"--wait-enabled" || arg == L"--command") {
            options.actions.push_back({arg, NextId(argc, argv, i), {}, {}});
        } else if (arg == L"--set" || arg == L"--wait" || arg == L"--key") {
            const int id = NextId(argc, argv, i);
            options.actions.push_back({arg, id, Next(argc, argv, i), {}});
        } else if (NumbersOf(arg) > 0) {
            const int id = NextId(argc, argv, i);
            options.actions.push_back({arg, id, {}, NextNumbers(argc, argv, i, NumbersOf(arg))});
        } else if (arg == L"--get-title" || arg == L"--close" || arg == L"--gone" || arg == L"--select-all") {
            options.actions.push_back({arg, 0, {}, {}});
        } else {
            throw Failure{kUsage, L"uidrive: unknown argument " + arg};
        }
    }
    if (!options.title && options.controls.empty()) {
        throw Failure{kUsage, L"uidrive: say which window: --title TEXT and/or --controls ID,ID..."};
    }
    return options;
}

std::wstring WindowTitle(HWND window) {
    wchar_t title[512] = {};
    ::GetWindowTextW(window, title, 512);
    return title;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

bool Matches(HWND window, const Options& options) {
    if (!::IsWindowVisible(window)) return false;
    if (options.title && WindowTitle(window) != *options.title) return false;
    if (options.className && ClassName(window) != *options.className) return false;
    for (int id : options.controls) {
        if (!FindControl(window, id)) return false;
    }
    return true;
}

struct Search {
    const Options* options;
    HWND found = nullptr;
    std::wstring seen;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    if (Matches(window, *search.options)) {
        search.found = window;
        return FALSE;
    }
    if (::IsWindowVisible(window)) search.seen += L" \"" + WindowTitle(window) + L"\"";
    return TRUE;
}

std::wstring Description(const Options& options) {
    std::wstring text = L"a window";
    if (options.title) text += L" titled \"" + *options.title + L"\"";
    if (options.className) text += L" of class " + *options.className;
    if (!options.controls.empty()) {
        text += L" with controls";
        for (int id : options.controls) text += L" " + std::to_wstring(id);
    }
    return text;
}

HWND WaitForWindow(const Options& options, const Deadline& deadline) {
    for (;;) {
        Search search{&options, nullptr, {}};
        ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (deadline.Passed()) {
            throw Failure{kTimedOut, L"uidrive: timed out after " + std::to_wstring(options.timeoutMs) +
                                         L" ms waiting for " + Description(options) + L"; visible windows:" +
                                         (search.seen.empty() ? L" none" : search.seen)};
        }
        ::Sleep(50);
    }
}

std::wstring ControlText(HWND window, int id, const Deadline& deadline) {
    const HWND control = Control(window, id);
    const LRESULT length = Send(control, WM_GETTEXTLENGTH, 0, 0, deadline, id);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        Send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), deadline, id);
    text.resize(static_cast<std::size_t>(got));
    return text;
}

void Click(HWND window, int id) {
    const HWND button = Control(window, id);
    if (!::IsWindowVisible(button) || !::IsWindowEnabled(button)) {
        throw Failure{kControlFailed, L"uidrive: button " + std::to_wstring(id) + L" cannot be clicked now"};
    }
    // Posted, so that a click that opens another modal window does not hold the driver. A box
    // that checks itself is clicked as a person clicks it, so that it changes first; any other
    // button tells the dialog that holds it what a person's click tells it.
    const LONG_PTR type = ::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
    const bool isButton = ::lstrcmpiW(ClassName(button).c_str(), L"Button") == 0;
    if (isButton && (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON)) {
        ::PostMessageW(button, BM_CLICK, 0, 0);
        return;
    }
    ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

struct Key {
    const wchar_t* name;
    WPARAM code;
};
constexpr Key kKeys[] = {
    {L"Delete", VK_DELETE}, {L"Enter", VK_RETURN}, {L"Space", VK_SPACE}, {L"Up", VK_UP}, {L"Down", VK_DOWN}};

// What the keyboard sends the control with the focus: key down, then key up; with Alt held
// they are the system's key messages, which carry Alt in their context bit.
void PressKey(HWND window, const Action& action) {
    const bool alt = action.text.starts_with(L"Alt+");
    const std::wstring name = alt ? action.text.substr(4) : action.text;
    const auto key =
        std::find_if(std::begin(kKeys), std::end(kKeys), [&](const Key& k) { return name == k.name; });
    if (key == std::end(kKeys)) throw Failure{kUsage, L"uidrive: no key named " + action.text};
    const HWND control = Control(window, action.id);
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(static_cast<UINT>(key->code), MAPVK_VK_TO_VSC))
                        << 16;
    const LPARAM context = alt ? LPARAM{1} << 29 : 0;
    ::PostMessageW(control, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key->code, 1 | scan | context);
    ::PostMessageW(control, alt ? WM_SYSKEYUP : WM_KEYUP, key->code, 1 | scan | context | (LPARAM{3} << 30));
}

void WaitEnabled(HWND window, const Action& action, const Options& options, const Deadline& deadline) {
    const HWND control = Control(window, action.id);
    while (!::IsWindowEnabled(control) || !::IsWindowVisible(control)) {
        if (deadline.Passed()) {
            throw Failure{kTimedOut, L"uidrive: control " + std::to_wstring(action.id) + L" of " +
                                         Description(options) + L" could still not be used after " +
                                         std::to_wstring(options.timeoutMs) + L" ms"};
        }
        ::Sleep(50);
    }
}

void WaitRows(HWND window, const Action& action, const Options& options, const Deadline& deadline) {
    const HWND list = Control(window, action.id);
    const int wanted = action.numbers[0];
    for (LRESULT rows = Send(list, LVM_GETITEMCOUNT, 0, 0, deadline, action.id); rows != wanted;
         rows = Send(list, LVM_GETITEMCOUNT, 0, 0, deadline, action.id)) {
        if (deadline.Passed()) {
            throw Failure{kTimedOut, L"uidrive: list " + std::to_wstring(action.id) + L" of " +
                                         Description(options) + L" still had " + std::to_wstring(rows) +
                                         L" rows after " + std::to_wstring(options.timeoutMs) + L" ms, not " +
                                         std::to_wstring(wanted)};
        }
        ::Sleep(50);
    }
}

void WaitGone(HWND window, const Options& options, const Deadline& deadline) {
    while (::IsWindow(window) && ::IsWindowVisible(window)) {
        if (deadline.Passed()) {
            throw Failure{kTimedOut, L"uidrive: " + Description(options) + L" was still open after " +
                                         std::to_wstring(options.timeoutMs) + L" ms"};
        }
        ::Sleep(50);
    }
}

void WaitText(HWND window, const Action& action, const Options& options, const Deadline& deadline) {
    for (std::wstring text = ControlText(window, action.id, deadline); text != action.text;
         text = ControlText(window, action.id, deadline)) {
        if (deadline.Passed()) {
            throw Failure{kTimedOut, L"uidrive: control " + std::to_wstring(action.id) + L" of " +
                                         Description(options) + L" still read \"" + text + L"\" after " +
                                         std::to_wstring(options.timeoutMs) + L" ms, not \"" + action.text +
                                         L"\""};
        }
        ::Sleep(50);
    }
}

void Perform(HWND window, const Action& action, const Options& options, const Deadline& deadline) {
    if (action.verb == L"--get") {
        Write(STD_OUTPUT_HANDLE,
              std::to_wstring(action.id) + L": " + ControlText(window, action.id, deadline) + L"\n");
    } else if (action.verb == L"--get-title") {
        Write(STD_OUTPUT_HANDLE, L"title: " + WindowTitle(window) + L"\n");
    } else if (action.verb == L"--set") {
        Send(Control(window, action.id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(action.text.c_str()),
             deadline, action.id);
    } else if (action.verb == L"--wait") {
        WaitText(window, action, options, deadline);
    } else if (action.verb == L"--click") {
        Click(window, action.id);
    } else if (action.verb == L"--key") {
        PressKey(window, action);
    } else if (action.verb == L"--wait-enabled") {
        WaitEnabled(window, action, options, deadline);
    } else if (action.verb == L"--wait-rows") {
        WaitRows(window, action, options, deadline);
    } else if (action.verb == L"--rows") {
        PrintRows(Control(window, action.id), action.id, deadline);
    } else if (action.verb == L"--header") {
        PrintHeader(Control(window, action.id), action.id, deadline);
    } else if (action.verb == L"--click-cell" || action.verb == L"--ctrl-click-cell") {
        ClickCell(Control(window, action.id), action.id, action.numbers[0], action.numbers[1],
                  action.numbers[2], action.verb == L"--ctrl-click-cell", deadline);
    } else if (action.verb == L"--click-column") {
        ClickColumn(Control(window, action.id), action.id, action.numbers[0], deadline);
    } else if (action.verb == L"--tree-selection") {
        PrintTreeSelection(Control(window, action.id), action.id, deadline);
    } else if (action.verb == L"--command") {
        // What a menu tells its window when a person picks the command; posted like a click.
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(action.id, 0), 0);
    } else if (action.verb == L"--select-all") {
        SelectAllRows(window, deadline);
    } else if (action.verb == L"--close") {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        WaitGone(window, options, deadline);
    }
}

int Run(int argc, wchar_t** argv) {
    const Options options = ParseOptions(argc, argv);
    const Deadline deadline(options.timeoutMs);
    const HWND window = WaitForWindow(options, deadline);
    Write(STD_OUTPUT_HANDLE, L"found \"" + WindowTitle(window) + L"\" (" + ClassName(window) + L")\n");
    for (const Action& action : options.actions) Perform(window, action, options, deadline);
    return kDone;
}

}  // namespace

void Write(DWORD stream, const std::wstring& text) {
    const HANDLE handle = ::GetStdHandle(stream);
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode)) {
        ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                            0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    ::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

struct ControlSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK VisitChild(HWND child, LPARAM param) {
    auto& search = *reinterpret_cast<ControlSearch*>(param);
    if (::GetDlgCtrlID(child) != search.id) return TRUE;
    search.found = child;
    return FALSE;
}

HWND FindControl(HWND window, int id) {
    if (const HWND direct = ::GetDlgItem(window, id)) return direct;
    ControlSearch search{id};
    ::EnumChildWindows(window, VisitChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Control(HWND window, int id) {
    const HWND control = FindControl(window, id);
    if (!control) throw Failure{kControlFailed, L"uidrive: the window has no control " + std::to_wstring(id)};
    return control;
}

LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam, const Deadline& deadline, int id) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, deadline.LeftMs(),
                               &result)) {
        throw Failure{kControlFailed,
                      L"uidrive: control " + std::to_wstring(id) + L" did not answer in time"};
    }
    return static_cast<LRESULT>(result);
}

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (const Failure& failure) {
        Write(STD_ERROR_HANDLE, failure.message + L"\n");
        return failure.code;
    }
}
