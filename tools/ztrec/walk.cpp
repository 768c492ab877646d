#include "walk.h"

#include <algorithm>
#include <vector>

namespace ztrec {
namespace {

void Visit(const Path& path, bool named, const FileOperation& operation, Tally& tally);

bool NotThisCommandsKind(Result result) {
    return result == Result::NotEncrypted || result == Result::AlreadyEncrypted ||
           result == Result::AlreadySealed || result == Result::NotRegularFile;
}

// A link the user named to a folder is the folder; any other link is no regular file.
Kind KindToVisit(const Path& path, bool named) {
    const Kind kind = KindOf(path, false);
    if (kind == Kind::Link && named && KindOf(path, true) == Kind::Folder) return Kind::Folder;
    return kind == Kind::Link ? Kind::Other : kind;
}

Outcome Examine(const Path& path, bool named, const FileOperation& operation, Tally& tally) {
    switch (KindToVisit(path, named)) {
        case Kind::Missing:
            return {Result::Missing};
        case Kind::File:
            return operation(path);
        case Kind::Folder: {
            std::vector<Path> entries = ListFolder(path);
            std::sort(entries.begin(), entries.end());
            for (const Path& entry : entries) Visit(entry, false, operation, tally);
            return {Result::Ignored};
        }
        default:
            return {Result::NotRegularFile};
    }
}

void Visit(const Path& path, bool named, const FileOperation& operation, Tally& tally) {
    if (Interrupted()) throw Interruption{};
    Outcome outcome;
    try {
        outcome = Examine(path, named, operation, tally);
    } catch (const Interruption&) {
        throw;
    } catch (...) {
        outcome = {Result::SystemFailure, DescribeFailure(std::current_exception())};
    }
    if (!named && NotThisCommandsKind(outcome.result)) outcome.result = Result::Ignored;
    tally.Add(Shown(path), outcome);
}

}  // namespace

void Walk(const Path& path, const FileOperation& operation, Tally& tally) {
    Visit(path, true, operation, tally);
}

}  // namespace ztrec
