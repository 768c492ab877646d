#include "walk.h"

#include <algorithm>
#include <vector>

namespace ztrec {
namespace {

void Visit(const Path& path, bool named, const FileOperation& operation, Batch& batch);

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

Step Examine(const Path& path, bool named, const FileOperation& operation, Batch& batch) {
    switch (KindToVisit(path, named)) {
        case Kind::Missing:
            return Outcome{Result::Missing};
        case Kind::File:
            return operation(path);
        case Kind::Folder: {
            std::vector<Path> entries = ListFolder(path);
            std::sort(entries.begin(), entries.end());
            for (const Path& entry : entries) Visit(entry, false, operation, batch);
            return Outcome{Result::Ignored};
        }
        default:
            return Outcome{Result::NotRegularFile};
    }
}

void Visit(const Path& path, bool named, const FileOperation& operation, Batch& batch) {
    if (Interrupted()) throw Interruption{};
    Step step = Outcome{};
    try {
        step = Examine(path, named, operation, batch);
    } catch (const Interruption&) {
        throw;
    } catch (...) {
        step = Outcome{Result::SystemFailure, DescribeFailure(std::current_exception())};
    }
    if (!named && NotThisCommandsKind(step.outcome.result)) step.outcome.result = Result::Ignored;
    batch.Add(Shown(path), std::move(step));
}

}  // namespace

void Walk(const Path& path, const FileOperation& operation, Batch& batch) {
    Visit(path, true, operation, batch);
}

}  // namespace ztrec
