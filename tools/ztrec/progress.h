#pragma once
#include <cstdint>
#include <string>

namespace ztrec {

// A progress bar for one large file, drawn on the error stream when that is a terminal and
// redrawn only when the percentage changes; its line is cleared when it goes.
class Progress {
public:
    Progress(std::string name, std::uint64_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void Advance(std::uint64_t bytes);

private:
    void Draw();

    std::string name_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    std::size_t width_ = 0;  // 0: not shown
    int percent_ = -1;
};

}  // namespace ztrec
