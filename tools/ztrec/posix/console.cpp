// The terminal, the standard streams and interrupts on POSIX systems.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <system_error>

#include "core/text/utf8.h"
#include "system_call.h"
#include "tools/ztrec/password_line.h"
#include "tools/ztrec/platform.h"

namespace ztrec {
namespace {

constexpr std::size_t kDefaultWidth = 80;
constexpr int kPollMilliseconds = 100;

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int signal) {
    // A second interrupt ends ztrec at once, for a user whose first one seems to go unheard.
    if (interrupted) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
    interrupted = 1;
}

int FdOf(Stream stream) {
    return stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO;
}

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        // A closed pipe or a full disk behind a message is no reason to stop recovering files.
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Waits for input in short steps: an interrupt that arrives just before a read would
// otherwise leave the read waiting for a line that may never come.
core::Password PasswordLineFrom(int fd) {
    return ReadPasswordLine([fd](std::span<std::uint8_t> buffer) {
        pollfd ready{fd, POLLIN, 0};
        while (Uninterrupted([&] { return ::poll(&ready, 1, kPollMilliseconds); }) == 0)
            if (Interrupted()) throw Interruption{};
        return Uninterrupted([&] { return ::read(fd, buffer.data(), buffer.size()); });
    });
}

// Echo stays off only while the password is typed, whatever ends the reading.
class EchoOff {
public:
    EchoOff(int fd, const termios& saved) : fd_(fd), saved_(saved) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        Check(::tcsetattr(fd_, TCSAFLUSH, &quiet));
    }
    ~EchoOff() { ::tcsetattr(fd_, TCSAFLUSH, &saved_); }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int fd_;
    termios saved_;
};

// Echo goes off before the prompt shows, so that nothing typed after it is echoed.
core::Password ReadQuietly(int fd, const termios& saved, std::string_view prompt) {
    const EchoOff echoOff(fd, saved);
    WriteAll(fd, prompt);
    return PasswordLineFrom(fd);
}

}  // namespace

std::string Utf8Of(const Path& path) {
    return path.native();
}

Path PathOf(std::u16string_view name) {
    return Path(core::Utf16ToUtf8(name));
}

std::optional<std::string> SystemErrorText(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::system_error& e) {
        return e.code().message();
    } catch (...) {
        return std::nullopt;
    }
}

void Write(Stream stream, std::string_view utf8) {
    WriteAll(FdOf(stream), utf8);
}

bool IsTerminal(Stream stream) {
    return ::isatty(FdOf(stream)) == 1;
}

std::size_t TerminalWidth() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultWidth;
    return size.ws_col;
}

core::Password AskPassword(std::string_view prompt) {
    const UniqueFd tty(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    termios saved{};
    if (!tty || ::tcgetattr(tty.get(), &saved) != 0) throw NoTerminal{};
    core::Password password = ReadQuietly(tty.get(), saved, prompt);
    // The line feed the user typed was not echoed either.
    WriteAll(tty.get(), "\n");
    return password;
}

core::Password ReadPasswordFrom(const Path* path) {
    if (!path) return PasswordLineFrom(STDIN_FILENO);
    const UniqueFd file(Check(::open(path->c_str(), O_RDONLY | O_CLOEXEC)));
    return PasswordLineFrom(file.get());
}

void WatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read from the terminal must return when the user interrupts it.
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
    // A reader of the output that goes away must not end ztrec in the middle of a file.
    std::signal(SIGPIPE, SIG_IGN);
}

bool Interrupted() {
    return interrupted != 0;
}

}  // namespace ztrec
