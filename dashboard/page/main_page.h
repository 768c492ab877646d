#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dashboard/page/item_list.h"
#include "dashboard/page/page_shared.h"
#include "dashboard/page/play_button.h"
#include "dashboard/page/reminder_controls.h"
#include "dashboard/page/startup_panel.h"
#include "dashboard/threads/refresh_thread.h"
#include "dashboard/threads/wait_data_changed_thread.h"
#include "win/com_server.h"

// The dashboard page: the user's decrypted items, kept current by the page's refresh and
// data-changed threads, to be encrypted again, taken off the list or looked for when they
// have moved; and the reminder settings. Made by ZTGetPropertyPageEx; once its property
// sheet page exists the sheet owns it and deletes it when it releases the page. Everything
// but the threads runs on the host's window thread.
class CMainPage {
public:
    // Both threads are made here, suspended; they start when the page's window does.
    CMainPage();
    // Waits for both threads to end (the stop event makes them end soon: a load under way
    // gives up before its next item), so that neither uses the page once it is gone.
    ~CMainPage();
    CMainPage(const CMainPage&) = delete;
    CMainPage& operator=(const CMainPage&) = delete;

    // The description the property sheet page is made from. It has no title of its own: the
    // dashboard takes the title from the page's descriptor.
    PROPSHEETPAGEW PageDescription();

private:
    // What the checked rows stand for, copied from the rows.
    struct CheckedItems {
        std::vector<CDecryptedItem> items;
        bool someExist = false;
        bool someMissing = false;
    };

    static UINT CALLBACK PageCallback(HWND, UINT message, PROPSHEETPAGEW* page);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Answer(LRESULT result) const;

    void OnInitDialog(HWND window);
    void OnDpiChanged();
    void OnDestroy();
    void OnShow(bool shown);
    void OnStartupTimer();
    void ShowListControls(bool show) const;
    void SwitchToList();
    bool OnCommand(WORD id, WORD code, HWND control);
    void OnRefreshRequest(HWND button);
    void OnItemsLoaded(bool changed, std::uint32_t served);
    void OnEditFailed();
    bool OnNotify(const NMHDR& header);
    bool OnListNotify(const NMHDR& header);
    void OnListClick(const NMITEMACTIVATE& click);
    bool OnSetCursor(HWND over);
    void OnInfoTip(NMLVGETINFOTIPW& tip);
    // Whether the point lies on the link of the row, which a missing item has.
    bool LinkUnder(int row, POINT client) const;

    // The page's actions (page_actions.cpp).
    CheckedItems CollectCheckedItems() const;
    void RemoveCheckedItems();
    void EncryptCheckedItems();
    void StartEncryption(const std::vector<std::u16string>& quotedPaths);
    void LocateRowItem(int row);
    // Hands an edit of the store to the refresh thread, which shows the list afterwards.
    void RequestEdit(ItemEdit edit);

    CPageShared shared_;
    CItemList list_;
    CPlayButton refresh_;
    CStartupDlg startup_;
    CReminderControls reminder_;
    std::wstring refreshTip_;
    // A load reported a change that the list does not show yet.
    bool rebuildPending_ = false;
    // The load request of the last click on the refresh button, which turns until it is served.
    std::uint32_t clickedLoad_ = 0;
    std::unique_ptr<CRefreshThread> refreshThread_;
    std::unique_ptr<CWaitDataChangedThread> dataChangedThread_;
    CModuleLock moduleLock_;
};
