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
//     --command ID    choose the window's menu command ID
//     --close         close the window as its close box does
//     --gone          wait until the window has closed
//
// Every wait ends at the timeout (10000 ms unless given) with a message saying what did not
// happen, and a hung program cannot block the driver. Exit codes: 0 done, 1 timed out,
// 2 bad command line, 3 a control is missing, disabled or did not answer.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

enum ExitCode { kDone = 0, kTimedOut = 1, kUsage = 2, kControlFailed = 3 };

struct Failure {
    ExitCode code;
    std::wstring message;
};

struct Action {
    std::wstring verb;
    int id = 0;
    std::wstring text;
};

struct Options {
    DWORD timeoutMs = 10000;
    std::optional<std::wstring> title;
    std::optional<std::wstring> className;
    std::vector<int> controls;
    std::vector<Action> actions;
};

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

class Deadline {
public:
    explicit Deadline(DWORD ms) : end_(::GetTickCount64() + ms) {}
    bool Passed() const { return ::GetTickCount64() >= end_; }
    UINT LeftMs() const {
        const ULONGLONG now = ::GetTickCount64();
        return now < end_ ? static_cast<UINT>(end_ - now) : 1;
    }

private:
    ULONGLONG end_;
};

std::optional<long> ParseNumber(const wchar_t* text, long max) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (end == text || *end != L'\0' || value < 0 || value > max) return std::nullopt;
    return value;
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
        } else if (arg == L"--get" || arg == L"--click" || arg == L"--command") {
            options.actions.push_back({arg, NextId(argc, argv, i), {}});
        } else if (arg == L"--set" || arg == L"--wait") {
            const int id = NextId(argc, argv, i);
            options.actions.push_back({arg, id, Next(argc, argv, i)});
        } else if (arg == L"--get-title" || arg == L"--close" || arg == L"--gone") {
            options.actions.push_back({arg, 0, {}});
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
        if (!::GetDlgItem(window, id)) return false;
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

HWND Control(HWND window, int id) {
    const HWND control = ::GetDlgItem(window, id);
    if (!control) throw Failure{kControlFailed, L"uidrive: the window has no control " + std::to_wstring(id)};
    return control;
}

// Messages to another program are sent with a time limit, so a hung program fails the step.
LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam, const Deadline& deadline, int id) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, deadline.LeftMs(),
                               &result)) {
        throw Failure{kControlFailed,
                      L"uidrive: control " + std::to_wstring(id) + L" did not answer in time"};
    }
    return static_cast<LRESULT>(result);
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
    // What the button tells its dialog when a person clicks it. Posted, so that a click that
    // opens another modal window does not hold the driver.
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
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
    } else if (action.verb == L"--command") {
        // What a menu tells its window when a person picks the command; posted like a click.
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(action.id, 0), 0);
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

int wmain(int argc, wchar_t** argv) {
    try {
        return Run(argc, argv);
    } catch (const Failure& failure) {
        Write(STD_ERROR_HANDLE, failure.message + L"\n");
        return failure.code;
    }
}
