#pragma once
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "dashboard/page/page_shared.h"
#include "dashboard/threads/refresh_thread.h"
#include "dashboard/threads/wait_data_changed_thread.h"
#include "win/com_server.h"

// The dashboard page: the user's decrypted items, kept current by the page's refresh and
// data-changed threads. Made by ZTGetPropertyPageEx; once its property sheet page exists the
// sheet owns it and deletes it when it releases the page. Everything but the threads runs
// on the host's window thread.
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
    static UINT CALLBACK PageCallback(HWND, UINT message, PROPSHEETPAGEW* page);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog(HWND window);
    void OnDestroy();
    void OnItemsLoaded(bool changed);
    bool OnNotify(const NMHDR& header);
    void AddColumns();
    void RebuildList(const CDecryptedItems& items);
    void AddRow(const CDecryptedItem& item);

    CPageShared shared_;
    HWND list_ = nullptr;
    // A load reported a change that the list does not show yet.
    bool rebuildPending_ = false;
    std::unique_ptr<CRefreshThread> refreshThread_;
    std::unique_ptr<CWaitDataChangedThread> dataChangedThread_;
    CModuleLock moduleLock_;
};
