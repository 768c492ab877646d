#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

// The answers to the question whether a file of a risky type is to be encrypted.
enum ConfirmAnswer : int { kAnswerYes = 1, kAnswerNo = 2, kAnswerYesToAll = 3, kAnswerNoToAll = 4 };

// What a run tells the one who watches it. The engines only call it: the interface draws it
// with its dialogs, a test records it. Every call comes from the run's own thread.
class IRunObserver {
public:
    virtual ~IRunObserver() = default;

    // Bytes of the whole run; 0 means there is nothing to measure.
    virtual void SetTotal(std::uint64_t bytes) = 0;
    // The next file is begun; a file that reported no progress counts as done in full.
    virtual void BeginFile(const std::wstring& path) = 0;
    // Bytes of the file in hand done since the last call.
    virtual void Advance(std::uint64_t bytes) = 0;
    // An item the run leaves alone, counted as done.
    virtual void SkipFile(const std::wstring& path) = 0;
    // Whether the user asked the run to stop; asked between files and between pieces.
    virtual bool IsCancelled() const = 0;
    // Whether the file of a risky type is to be encrypted. When the question cannot be
    // asked the answer is no: a risky file is never encrypted unasked.
    virtual ConfirmAnswer Confirm(const std::wstring& path) = 0;
    // An entry for the report: string messageId filled with the path, and for a failure
    // status the reason.
    virtual void AddEntry(UINT messageId, const std::wstring& path, HRESULT status) = 0;
    // The run is over. summary counts what it did, for a report that has something to say;
    // a closing entry other than 0 is added after it and has the report shown even when
    // nothing else was said. operationKind: 1 encrypt, 2 decrypt, 4 decrypt and open.
    virtual void Finish(int operationKind, std::u16string_view summary, UINT closingEntryId) = 0;
};
