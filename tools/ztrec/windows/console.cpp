// The console, the standard handles and Ctrl+C on Windows.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "core/crypto/secure_bytes.h"
#include "core/text/utf8.h"
#include "text/message_text.h"
#include "tools/ztrec/password_line.h"
#include "tools/ztrec/platform.h"
#include "win/handle_stream.h"
#include "win/hresult.h"
#include "win/long_path.h"
#include "win/unique_handle.h"
#include "win/wide_text.h"

namespace ztrec {
namespace {

constexpr std::size_t kDefaultWidth = 80;

std::atomic<bool> interrupted{false};

BOOL WINAPI OnInterrupt(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    // A second interrupt ends ztrec at once, for a user whose first one seems to go unheard.
    return interrupted.exchange(true) ? FALSE : TRUE;
}

HANDLE HandleOf(Stream stream) {
    return ::GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != FALSE;
}

// A console shows UTF-16 whatever its code page; a file or pipe gets UTF-8.
void WriteText(HANDLE handle, std::string_view utf8) {
    if (IsConsole(handle)) {
        const std::u16string text =
            core::Utf8ToUtf16(std::span(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size()));
        DWORD written = 0;
        ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    // A closed pipe behind a message is no reason to stop recovering files.
    try {
        WriteFully(handle, std::span(reinterpret_cast<const BYTE*>(utf8.data()), utf8.size()));
    } catch (const HResultError&) {
    }
}

FileHandle OpenConsole(const wchar_t* name) {
    return FileHandle(::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
}

// Echo stays off only while the password is typed, whatever ends the reading.
class EchoOff {
public:
    EchoOff(HANDLE input, DWORD saved) : input_(input), saved_(saved) {
        Check(::SetConsoleMode(input_,
                               (saved & ~ENABLE_ECHO_INPUT) | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT));
    }
    ~EchoOff() { ::SetConsoleMode(input_, saved_); }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    HANDLE input_;
    DWORD saved_;
};

// The console gives the line in UTF-16, as the suite's dialogs hash it.
core::Password ReadConsoleLine(HANDLE input) {
    core::SecureBytes buffer(kPasswordLineBytes * sizeof(wchar_t));
    const std::span<wchar_t> units(reinterpret_cast<wchar_t*>(buffer.Bytes().data()), kPasswordLineBytes);
    const std::size_t length = ReadLine(units, [input](std::span<wchar_t> free) {
        DWORD got = 0;
        const BOOL read = ::ReadConsoleW(input, free.data(), static_cast<DWORD>(free.size()), &got, nullptr);
        if (Interrupted()) throw Interruption{};
        Check(read);
        return static_cast<std::size_t>(got);
    });
    std::wstring_view line(units.data(), length);
    line = line.substr(0, line.find_first_of(L"\r\n"));
    return core::Password::FromUtf16(AsU16(line));
}

// Echo goes off before the prompt shows, so that nothing typed after it is echoed.
core::Password ReadQuietly(HANDLE input, DWORD saved, HANDLE output, std::string_view prompt) {
    const EchoOff echoOff(input, saved);
    WriteText(output, prompt);
    return ReadConsoleLine(input);
}

// A pipe whose writer has gone ends there.
core::Password PasswordLineFrom(HANDLE file) {
    return ReadPasswordLine([file](std::span<std::uint8_t> free) {
        DWORD got = 0;
        if (!::ReadFile(file, free.data(), static_cast<DWORD>(free.size()), &got, nullptr) &&
            ::GetLastError() != ERROR_BROKEN_PIPE)
            ThrowLastError();
        return static_cast<std::size_t>(got);
    });
}

}  // namespace

std::string Utf8Of(const Path& path) {
    return core::Utf16ToUtf8(AsU16(path.native()));
}

Path PathOf(std::u16string_view name) {
    return Path(ToWide(name));
}

std::optional<std::string> SystemErrorText(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const HResultError& e) {
        if (const std::optional<std::wstring> text = MessageText(e.code()))
            return core::Utf16ToUtf8(AsU16(*text));
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(e.code()));
        return code;
    } catch (...) {
        return std::nullopt;
    }
}

void Write(Stream stream, std::string_view utf8) {
    WriteText(HandleOf(stream), utf8);
}

bool IsTerminal(Stream stream) {
    return IsConsole(HandleOf(stream));
}

std::size_t TerminalWidth() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!::GetConsoleScreenBufferInfo(HandleOf(Stream::Err), &info)) return kDefaultWidth;
    return static_cast<std::size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

core::Password AskPassword(std::string_view prompt) {
    const FileHandle input = OpenConsole(L"CONIN$");
    const FileHandle output = OpenConsole(L"CONOUT$");
    DWORD saved = 0;
    if (!input || !output || !::GetConsoleMode(input.get(), &saved)) throw NoTerminal{};
    core::Password password = ReadQuietly(input.get(), saved, output.get(), prompt);
    // The line break the user typed was not echoed either.
    WriteText(output.get(), "\r\n");
    return password;
}

core::Password ReadPasswordFrom(const Path* path) {
    if (!path) return PasswordLineFrom(::GetStdHandle(STD_INPUT_HANDLE));
    const FileHandle file(::CreateFileW(LongPathForm(*path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowLastError();
    return PasswordLineFrom(file.get());
}

void WatchInterrupts() {
    ::SetConsoleCtrlHandler(OnInterrupt, TRUE);
}

bool Interrupted() {
    return interrupted;
}

}  // namespace ztrec
