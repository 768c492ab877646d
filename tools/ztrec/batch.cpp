#include "batch.h"

#include <cstdlib>
#include <exception>
#include <map>
#include <string_view>

#include "texts.h"

namespace ztrec {
namespace {

using Entries = std::vector<Batch::Entry>;
using Failed = Outcome (*)(const Pending& file, std::exception_ptr error);

// Before its new file is in place a file is left as it was, its new file removed.
Outcome NotPlaced(const Pending& file, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const OutputTaken&) {
        return {Result::OutputExists, Shown(file.target)};
    } catch (...) {
        return {Result::SystemFailure, DescribeFailure(error)};
    }
}

// After it, both stay.
Outcome NotFinished(const Pending& file, std::exception_ptr error) {
    const auto unfinished = file.fate == SourceFate::Wiped ? texts::NotWiped : texts::NotRemoved;
    return {Result::Incomplete, unfinished(Shown(file.target), DescribeFailure(error))};
}

// Runs action on every file still waiting; one that throws ends there, with its outcome.
template <class Action>
void EachWaiting(Entries& entries, Failed failed, Action action) {
    for (Batch::Entry& entry : entries) {
        if (!entry.pending) continue;
        try {
            action(*entry.pending);
        } catch (...) {
            entry.outcome = failed(*entry.pending, std::current_exception());
            entry.pending.reset();
        }
    }
}

// One flush of the file system when every file is on the same one that can be flushed whole.
bool FlushedWhole(const std::vector<Durable*>& files) {
    try {
        const std::optional<std::uint64_t> fileSystem = files.front()->FileSystem();
        if (!fileSystem) return false;
        for (Durable* file : files)
            if (file->FileSystem() != fileSystem) return false;
        files.front()->FlushFileSystem();
        return true;
    } catch (...) {
        // Flushed one by one instead, each file's failure its own.
        return false;
    }
}

// Makes what of every waiting file durable (none: nothing to make durable).
template <class What>
void MakeDurable(Entries& entries, Failed failed, What what) {
    std::vector<Durable*> files;
    for (Batch::Entry& entry : entries)
        if (Durable* file = entry.pending ? what(*entry.pending) : nullptr) files.push_back(file);
    if (files.empty() || FlushedWhole(files)) return;
    EachWaiting(entries, failed, [&what](Pending& file) {
        if (Durable* durable = what(file)) durable->Flush();
    });
}

// Each folder once, for all the files just moved there; its failure is theirs.
void FlushFolders(Entries& entries) {
    std::map<Path, std::exception_ptr> folders;
    for (Batch::Entry& entry : entries) {
        if (!entry.pending) continue;
        const auto [folder, first] = folders.try_emplace(entry.pending->target.parent_path());
        if (first) {
            try {
                FlushFolderOf(entry.pending->target);
            } catch (...) {
                folder->second = std::current_exception();
            }
        }
        if (!folder->second) continue;
        entry.outcome = {Result::SystemFailure, DescribeFailure(folder->second)};
        entry.pending.reset();
    }
}

// The source goes, or is overwritten to go once its zeros are durable.
void LetGo(Pending& file) {
    file.input.reset();
    if (file.fate == SourceFate::Removed) Remove(file.source);
    if (file.fate == SourceFate::Wiped) file.wipe = Overwrite(file.source);
}

// Only the tests set ZTREC_TEST_END=<step>:<batch>: ztrec ends there at once, as a kill would,
// so that they can show that a run that dies between two steps loses nothing.
void EndHereForTests(std::string_view step, std::uint64_t batch) {
    const char* end = std::getenv("ZTREC_TEST_END");
    if (end && std::string(step) + ':' + std::to_string(batch) == end) std::_Exit(EXIT_FAILURE);
}

}  // namespace

Step Waiting(std::unique_ptr<InputFile> input, std::unique_ptr<NewFile> output, const Path& source,
             const Path& target, SourceFate fate) {
    output->TakeOver();
    const std::uint64_t size = input->Size();
    return Pending{std::move(input), std::move(output), source, target, fate, size, nullptr};
}

void Batch::Add(const std::string& path, Step step) {
    if (!step.pending) {
        if (waiting_ == 0) return tally_.Add(path, step.outcome);
        entries_.push_back({path, std::move(step.outcome), std::nullopt});
        return;
    }
    const std::uint64_t size = step.pending->size;
    if (waiting_ > 0 && bytes_ + size > kBytes) Finish();
    entries_.push_back({path, {Result::Done, Shown(step.pending->target)}, std::move(step.pending)});
    ++waiting_;
    bytes_ += size;
    if (waiting_ >= kFiles || bytes_ >= kBytes) Finish();
}

void Batch::Finish() {
    if (waiting_ == 0) return;
    ++finished_;
    MakeDurable(entries_, NotPlaced, [](Pending& file) -> Durable* { return file.output.get(); });
    EndHereForTests("durable", finished_);
    EachWaiting(entries_, NotPlaced, [](Pending& file) { file.output->Place(); });
    EndHereForTests("placed", finished_);
    FlushFolders(entries_);
    EachWaiting(entries_, NotFinished, LetGo);
    EndHereForTests("overwritten", finished_);
    MakeDurable(entries_, NotFinished, [](Pending& file) -> Durable* { return file.wipe.get(); });
    EachWaiting(entries_, NotFinished, [](Pending& file) {
        if (file.wipe) file.wipe->Remove();
    });
    for (const Entry& entry : entries_) tally_.Add(entry.path, entry.outcome);
    entries_.clear();
    waiting_ = 0;
    bytes_ = 0;
}

}  // namespace ztrec
