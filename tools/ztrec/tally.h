#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "options.h"
#include "outcome.h"

namespace ztrec {

// Every file's outcome as it comes: told to the user at once, counted for the summary and
// the exit status.
class Tally {
public:
    explicit Tally(const Options& options) : options_(options) {}

    // path is UTF-8 and safe to print.
    void Add(const std::string& path, const Outcome& outcome);
    void Interrupt() { interrupted_ = true; }

    std::string Summary() const;
    // 0 when every file succeeded, 1 when one was skipped or failed, 130 when interrupted.
    int ExitStatus() const;

private:
    static std::string Counts(const std::map<Result, std::uint64_t>& counts);

    const Options& options_;
    std::uint64_t done_ = 0;
    std::map<Result, std::uint64_t> skipped_;
    std::map<Result, std::uint64_t> failed_;
    bool interrupted_ = false;
};

}  // namespace ztrec
