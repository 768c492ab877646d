#include "tally.h"

#include <numeric>

#include "texts.h"

namespace ztrec {
namespace {

constexpr int kAllDone = 0;
constexpr int kSomeNotDone = 1;
constexpr int kInterrupted = 130;  // as a shell reports a program ended by Ctrl+C

std::uint64_t Total(const std::map<Result, std::uint64_t>& counts) {
    return std::accumulate(counts.begin(), counts.end(), std::uint64_t{0},
                           [](std::uint64_t sum, const auto& entry) { return sum + entry.second; });
}

}  // namespace

void Tally::Add(const std::string& path, const Outcome& outcome) {
    switch (outcome.result) {
        case Result::Ignored:
            return;
        case Result::Done:
            ++done_;
            if (options_.command != Command::Info) Write(Stream::Out, texts::Converted(path, outcome.detail));
            return;
        default:
            ++(IsSkipped(outcome.result) ? skipped_ : failed_)[outcome.result];
            Write(Stream::Err, texts::Problem(path, outcome.result, outcome.detail));
    }
}

std::string Tally::Counts(const std::map<Result, std::uint64_t>& counts) {
    std::string text;
    for (const auto& [result, count] : counts) {
        text += (text.empty() ? " (" : ", ") + std::to_string(count) + ' ' + texts::ResultName(result);
    }
    return text.empty() ? text : text + ')';
}

std::string Tally::Summary() const {
    std::string summary = "ztrec: ";
    if (done_ + Total(skipped_) + Total(failed_) == 0 && !interrupted_) {
        summary += texts::NothingFound();
    } else {
        summary += texts::DoneCount(done_, options_.command, options_.check);
        if (!skipped_.empty()) summary += ", " + texts::SkippedCount(Total(skipped_)) + Counts(skipped_);
        if (!failed_.empty()) summary += ", " + texts::FailedCount(Total(failed_)) + Counts(failed_);
    }
    if (interrupted_) summary += "; " + texts::Interrupted();
    return summary + '\n';
}

int Tally::ExitStatus() const {
    if (interrupted_) return kInterrupted;
    return skipped_.empty() && failed_.empty() ? kAllDone : kSomeNotDone;
}

}  // namespace ztrec
