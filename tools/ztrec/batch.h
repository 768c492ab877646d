#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "outcome.h"
#include "platform.h"
#include "tally.h"

namespace ztrec {

// What becomes of a source once its new file is in place.
enum class SourceFate { Kept, Removed, Wiped };

// A source whose new file is written and checked, waiting for its batch to make that file
// durable and put it in place. The source stays open until then, as it did while it was read.
struct Pending {
    std::unique_ptr<InputFile> input;
    std::unique_ptr<NewFile> output;
    Path source;
    Path target;
    SourceFate fate = SourceFate::Kept;
    std::uint64_t size = 0;
    std::unique_ptr<Wipe> wipe;  // once the source is overwritten
};

// What an operation made of one file: its outcome, or a new file waiting for its batch.
struct Step {
    Step(Outcome done) : outcome(std::move(done)) {}
    Step(Pending waiting) : pending(std::move(waiting)) {}

    Outcome outcome;
    std::optional<Pending> pending;
};

// The new file given the times and permissions of its source, to wait for its batch.
Step Waiting(std::unique_ptr<InputFile> input, std::unique_ptr<NewFile> output, const Path& source,
             const Path& target, SourceFate fate);

// Every file's step in the order walked. The new files of a batch (up to kFiles files or kBytes
// of sources; a larger file alone) are made durable together, then each is put in place and each
// folder flushed once, then the sources to wipe are overwritten, their zeros made durable
// together, and the sources removed: a source never goes before its new file is durable under
// its final name. A file that fails at any step fails alone. Outcomes reach the tally in the
// order walked, those of a batch when it ends.
class Batch {
public:
    static constexpr std::size_t kFiles = 64;
    static constexpr std::uint64_t kBytes = std::uint64_t{32} << 20;

    explicit Batch(Tally& tally) : tally_(tally) {}
    // path is UTF-8 and safe to print.
    void Add(const std::string& path, Step step);
    // Ends the batch in hand: when it is full, when the walk ends or is interrupted.
    void Finish();

    struct Entry {
        std::string path;
        Outcome outcome;
        std::optional<Pending> pending;
    };

private:
    Tally& tally_;
    std::vector<Entry> entries_;
    std::size_t waiting_ = 0;
    std::uint64_t bytes_ = 0;
    std::uint64_t finished_ = 0;
};

}  // namespace ztrec
