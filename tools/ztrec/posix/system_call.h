#pragma once
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "tools/ztrec/platform.h"

namespace ztrec {

// The one owner of a file descriptor: nothing is closed by hand.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

[[noreturn]] inline void ThrowErrno() {
    throw std::system_error(errno, std::generic_category());
}

// A read or write: an interrupt breaks a slow one off; another EINTR is retried.
template <class Call>
std::size_t Uninterrupted(Call call) {
    for (;;) {
        const auto done = call();
        if (done >= 0) return static_cast<std::size_t>(done);
        if (errno != EINTR) ThrowErrno();
        if (Interrupted()) throw Interruption{};
    }
}

// A system call's result, thrown as its errno when it failed.
template <class Result>
Result Check(Result result) {
    if (result < 0) ThrowErrno();
    return result;
}

}  // namespace ztrec
