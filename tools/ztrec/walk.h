#pragma once
#include <functional>

#include "batch.h"
#include "outcome.h"
#include "platform.h"

namespace ztrec {

using FileOperation = std::function<Step(const Path&)>;

// Runs operation on the file at path, or on every file in the folder at path and in its
// subfolders, and adds each step to the batch. A folder is listed completely before its
// entries are visited, so the files written meanwhile are never visited. Inside folders,
// symbolic links are not followed and files that are not the command's kind are passed
// over without a word; a path named by the user is always answered for.
void Walk(const Path& path, const FileOperation& operation, Batch& batch);

}  // namespace ztrec
