// The page's actions on the checked rows and on a missing row's link. They read the items
// from the rows and hand their edits of the store to the refresh thread: the window never
// waits for the map, which a load may hold for long (an item on a network drive that is gone
// costs the network's time-out), nor reads the store or asks whether items exist.
#include <string>
#include <utility>
#include <vector>

#include "dashboard/locate/locate_item.h"
#include "dashboard/page/main_page.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard/rules/item_list_rules.h"
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

// The checked items' paths in quotation marks, leaving out those that could add words of
// their own to the command (see core::MayPassOnCommandLine).
std::vector<std::u16string> QuotedPassablePaths(const std::vector<CDecryptedItem>& items) {
    std::vector<std::u16string> paths;
    for (const CDecryptedItem& item : items) {
        if (core::MayPassOnCommandLine(AsU16(item.Path()), AsU16(item.Name())))
            paths.push_back(u"\"" + ToU16(item.FullPath()) + u"\"");
    }
    return paths;
}

}  // namespace

// Bottom row first.
CMainPage::CheckedItems CMainPage::CollectCheckedItems() const {
    CheckedItems checked;
    for (int row = list_.RowCount() - 1; row >= 0; --row) {
        const CDecryptedItem* item = list_.IsChecked(row) ? list_.RowItem(row) : nullptr;
        if (!item) continue;
        checked.items.push_back(*item);
        (item->Exists() ? checked.someExist : checked.someMissing) = true;
    }
    return checked;
}

void CMainPage::RequestEdit(ItemEdit edit) {
    shared_.edits.Push(std::move(edit));
    shared_.RequestLoad();
}

void CMainPage::RemoveCheckedItems() {
    const CheckedItems checked = CollectCheckedItems();
    const UINT question =
        RemovalQuestionText(core::QuestionBeforeRemoval(checked.someExist, checked.someMissing));
    if (!question || !AskYesNo(shared_.window, LoadResString(question), LoadResString(IDS_CONFIRM_CAPTION)))
        return;
    std::vector<std::wstring> keys;
    for (const CDecryptedItem& item : checked.items) keys.push_back(item.Key());
    // Only the list forgets them; the files stay as they are.
    RequestEdit([keys = std::move(keys)](CDecryptedItems& items) {
        for (const std::wstring& key : keys) items.Remove(key);
    });
}

// The main program encrypts them and takes them off the list itself; the list follows once
// the program has ended. Items whose names no file can have stay off the command line.
void CMainPage::EncryptCheckedItems() {
    const CheckedItems checked = CollectCheckedItems();
    if (checked.items.empty()) return;
    const std::vector<std::u16string> paths = QuotedPassablePaths(checked.items);
    if (paths.size() < checked.items.size()) ShowMessage(shared_.window, IDS_ITEMS_LEFT_OUT, MB_ICONWARNING);
    if (!paths.empty()) StartEncryption(paths);
}

void CMainPage::StartEncryption(const std::vector<std::u16string>& quotedPaths) {
    const std::optional<std::wstring> program = ReadProgramCommand();
    if (!program || program->empty()) return;
    KernelHandle process;
    if (StartProgram(*program, kEncryptSwitch, quotedPaths, process) ==
        HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)) {
        ShowMessage(shared_.window, IDS_TOO_MANY_TO_ENCRYPT, MB_ICONINFORMATION);
        return;
    }
    if (process) CWaitProcessThread::Launch(shared_.window, shared_.stopEvent.get(), std::move(process));
}

void CMainPage::LocateRowItem(int row) {
    const CDecryptedItem* item = list_.RowItem(row);
    if (!item || item->Exists()) return;
    // A copy: the list may be rebuilt while the picker is open.
    const CDecryptedItem missing = *item;
    const std::optional<std::wstring> folder = LocateItem(shared_.window, missing);
    if (!folder) return;
    RequestEdit([key = missing.Key(), folder = *folder](CDecryptedItems& items) {
        if (CDecryptedItem* found = items.Find(key)) {
            found->SetPath(folder);
            found->SetExists(true);
        }
    });
}
