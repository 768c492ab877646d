#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "text/run_observer.h"

// The observer an engine reports to. Progress, questions and a cancel pass straight through.
// While files wait in a batch, report entries wait too, each in the slot of what it concerns,
// and are passed on slot by slot, so that the report reads as if the files had been done one
// after another, whatever order the batch took its steps in.
class CEntriesInFileOrder final : public IRunObserver {
public:
    explicit CEntriesInFileOrder(IRunObserver& observer) : observer_(observer) {}

    // Entries wait from now until PassOn.
    void Hold() { holding_ = true; }
    // A new slot after every other; entries go there until another one is used. A slot
    // already passed on takes its later entries in the first slot that waits.
    std::size_t OpenSlot();
    void UseSlot(std::size_t slot) { current_ = slot < first_ ? 0 : slot - first_; }
    // Passes every waiting entry on in slot order; entries pass straight through again.
    void PassOn();

    void SetTotal(std::uint64_t bytes) override { observer_.SetTotal(bytes); }
    void BeginFile(const std::wstring& path) override { observer_.BeginFile(path); }
    void Advance(std::uint64_t bytes) override { observer_.Advance(bytes); }
    void SkipFile(const std::wstring& path) override { observer_.SkipFile(path); }
    bool IsCancelled() const override { return observer_.IsCancelled(); }
    ConfirmAnswer Confirm(const std::wstring& path) override { return observer_.Confirm(path); }
    void AddEntry(UINT messageId, const std::wstring& path, HRESULT status) override;
    void Finish(int operationKind, std::u16string_view summary, UINT closingEntryId) override;

private:
    struct Entry {
        UINT messageId;
        std::wstring path;
        HRESULT status;
    };

    IRunObserver& observer_;
    std::vector<std::vector<Entry>> slots_ = std::vector<std::vector<Entry>>(1);
    // The number of slots_[0] among all the slots ever opened.
    std::size_t first_ = 0;
    std::size_t current_ = 0;
    bool holding_ = false;
};
