#include "engine/entries_in_file_order.h"

std::size_t CEntriesInFileOrder::OpenSlot() {
    slots_.emplace_back();
    current_ = slots_.size() - 1;
    return first_ + current_;
}

void CEntriesInFileOrder::PassOn() {
    std::vector<std::vector<Entry>> slots(1);
    slots.swap(slots_);
    first_ += slots.size();
    current_ = 0;
    holding_ = false;
    for (const std::vector<Entry>& slot : slots)
        for (const Entry& entry : slot) observer_.AddEntry(entry.messageId, entry.path, entry.status);
}

void CEntriesInFileOrder::AddEntry(UINT messageId, const std::wstring& path, HRESULT status) {
    if (!holding_) return observer_.AddEntry(messageId, path, status);
    slots_[current_].push_back({messageId, path, status});
}

void CEntriesInFileOrder::Finish(int operationKind, std::u16string_view summary, UINT closingEntryId) {
    PassOn();
    observer_.Finish(operationKind, summary, closingEntryId);
}
