#include "progress.h"

#include "core/text/progress_line.h"
#include "platform.h"

namespace ztrec {
namespace {

// Smaller files are done before a bar could tell anything.
constexpr std::uint64_t kShownFrom = 1 << 20;

}  // namespace

Progress::Progress(std::string name, std::uint64_t total) : name_(std::move(name)), total_(total) {
    if (total_ >= kShownFrom && IsTerminal(Stream::Err)) width_ = TerminalWidth();
    Draw();
}

Progress::~Progress() {
    if (width_ > 0) Write(Stream::Err, '\r' + std::string(width_ - 1, ' ') + '\r');
}

void Progress::Advance(std::uint64_t bytes) {
    done_ += bytes;
    Draw();
}

void Progress::Draw() {
    if (width_ == 0) return;
    const int percent = static_cast<int>(static_cast<long double>(done_) * 100 / total_);
    if (percent == percent_) return;
    percent_ = percent;
    Write(Stream::Err, '\r' + core::ProgressLine(name_, done_, total_, width_));
}

}  // namespace ztrec
