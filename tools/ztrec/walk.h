#pragma once
#include <functional>

#include "outcome.h"
#include "platform.h"
#include "tally.h"

namespace ztrec {

using FileOperation = std::function<Outcome(const Path&)>;

// Runs operation on the file at path, or on every file in the folder at path and in its
// subfolders, and adds each outcome to the tally. A folder is listed completely before its
// entries are visited, so the files written meanwhile are never visited. Inside folders,
// symbolic links are not followed and files that are not the command's kind are passed
// over without a word; a path named by the user is always answered for.
void Walk(const Path& path, const FileOperation& operation, Tally& tally);

}  // namespace ztrec
