#pragma once
#include <exception>
#include <filesystem>
#include <string>
#include <utility>

namespace ztrec {

// What became of one file. Skipped files were left exactly as they were; failed ones too,
// unless the reason says what was done.
enum class Result {
    Done,
    Ignored,  // found in a folder, and not the command's kind of file: not mentioned
    // skipped
    NotEncrypted,
    AlreadyEncrypted,
    AlreadySealed,  // upgrade: nothing to do
    NameRefused,
    OutputExists,
    SeveralNames,  // wiping it would wipe the content under its other names too
    NotRegularFile,
    // failed
    Missing,
    Damaged,
    WrongPasswordOrDamaged,
    // A sealed file that does not open whole: an authenticated cipher cannot tell damage,
    // alteration and another password apart.
    Altered,
    Incomplete,  // the new file is in place, but the old one could not be removed
    SystemFailure,
};

struct Outcome {
    Outcome(Result what = Result::Done, std::string why = {}) : result(what), detail(std::move(why)) {}
    Result result;
    std::string detail;  // UTF-8, safe to print
};

bool IsSkipped(Result result);

// A path as messages show it: UTF-8, with control characters escaped.
std::string Shown(const std::filesystem::path& path);

// What went wrong, for the user: the system's text for its failures.
std::string DescribeFailure(std::exception_ptr error);

}  // namespace ztrec
