// The page's actions on the checked rows and on a missing row's link. The map is held only
// while it is read or changed: never while a question, a picker or a program start is
// under way, so that the refresh thread is not kept waiting by the user.
#include <string>

#include "core/item_list_rules.h"
#include "dashboard/locate/locate_item.h"
#include "dashboard/page/main_page.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard/threads/wait_process_thread.h"
#include "text/main_program.h"
#include "text/message_box.h"
#include "text/res_string.h"
#include "win/wide_text.h"

namespace {

constexpr wchar_t kEncryptSwitch[] = L" /e";

UINT RemovalQuestionText(core::RemovalQuestion question) {
    switch (question) {
        case core::RemovalQuestion::kExisting:
            return IDS_CONFIRM_REMOVE;
        case core::RemovalQuestion::kMissing:
            return IDS_CONFIRM_REMOVE_MISSING;
        case core::RemovalQuestion::kExistingAndMissing:
            return IDS_CONFIRM_REMOVE_BOTH;
        default:
            return 0;
    }
}

}  // namespace

// Bottom row first; rows whose item the map no longer holds are passed over.
CMainPage::CheckedItems CMainPage::CollectCheckedItems() {
    CheckedItems checked;
    const CGuardedItems::Access items = shared_.items.Lock();
    for (int row = list_.RowCount() - 1; row >= 0; --row) {
        const std::wstring* key = list_.RowKey(row);
        const CDecryptedItem* item = list_.IsChecked(row) && key ? items->Find(*key) : nullptr;
        if (!item) continue;
        checked.items.push_back(*item);
        (item->Exists() ? checked.someExist : checked.someMissing) = true;
    }
    return checked;
}

// The file is read again first, so that what other programs saved meanwhile is kept; a map
// that cannot be read whole is not saved, since the file would then lose the rest.
template <class Edit>
void CMainPage::CommitToMap(const Edit& edit) {
    const CGuardedItems::Access items = shared_.items.Lock();
    items->LoadItems(nullptr);
    if (!items->IsComplete()) return;
    edit(*items);
    items->SaveItems();
    list_.Rebuild(*items);
    rebuildPending_ = false;
}

void CMainPage::RemoveCheckedItems() {
    const CheckedItems checked = CollectCheckedItems();
    const UINT question =
        RemovalQuestionText(core::QuestionBeforeRemoval(checked.someExist, checked.someMissing));
    if (!question || !AskYesNo(shared_.window, LoadResString(question), LoadResString(IDS_CONFIRM_CAPTION)))
        return;
    // Only the list forgets them; the files stay as they are.
    CommitToMap([&](CDecryptedItems& items) {
        for (const CDecryptedItem& item : checked.items) items.Remove(item.Key());
    });
}

// The main program encrypts them and takes them off the list itself; the list follows once
// the program has ended.
void CMainPage::EncryptCheckedItems() {
    const CheckedItems checked = CollectCheckedItems();
    if (checked.items.empty()) return;
    const std::optional<std::wstring> program = ReadProgramCommand();
    if (!program || program->empty()) return;
    std::vector<std::u16string> paths;
    for (const CDecryptedItem& item : checked.items) paths.push_back(u"\"" + ToU16(item.FullPath()) + u"\"");
    KernelHandle process;
    if (StartProgram(*program, kEncryptSwitch, paths, process) ==
        HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)) {
        ShowMessage(shared_.window, IDS_TOO_MANY_TO_ENCRYPT, MB_ICONINFORMATION);
        return;
    }
    if (process) CWaitProcessThread::Launch(shared_.window, shared_.stopEvent.get(), std::move(process));
}

void CMainPage::LocateRowItem(int row) {
    const std::wstring* key = list_.RowKey(row);
    if (!key) return;
    std::optional<CDecryptedItem> missing;
    {
        const CGuardedItems::Access items = shared_.items.Lock();
        const CDecryptedItem* item = items->Find(*key);
        if (item && !item->Exists()) missing = *item;
    }
    if (!missing) return;
    const std::optional<std::wstring> folder = LocateItem(shared_.window, *missing);
    if (!folder) return;
    CommitToMap([&](CDecryptedItems& items) {
        if (CDecryptedItem* item = items.Find(missing->Key())) {
            item->SetPath(*folder);
            item->SetExists(true);
        }
    });
}
