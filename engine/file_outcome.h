#pragma once
#include <windows.h>

// What became of one file a run met: processed, left alone (a file that is not for this run,
// or one the report says why it was not touched), or failed with the status that says why.
class FileOutcome {
public:
    enum class Kind { Done, Skipped, Failed };

    static FileOutcome Done() { return {Kind::Done, S_OK}; }
    static FileOutcome Skipped() { return {Kind::Skipped, S_FALSE}; }
    static FileOutcome Failed(HRESULT status) { return {Kind::Failed, status}; }

    Kind What() const { return kind_; }
    bool IsFailure() const { return kind_ == Kind::Failed; }
    // S_OK when done, S_FALSE when skipped, the failure otherwise.
    HRESULT Status() const { return status_; }

    bool operator==(const FileOutcome&) const = default;

private:
    FileOutcome(Kind kind, HRESULT status) : kind_(kind), status_(status) {}

    Kind kind_;
    HRESULT status_;
};
