#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dashboard/dashboard_page_info.h"
#include "registry_backup.h"
#include "store/decrypted_items.h"
#include "store_sandbox.h"
#include "test_support.h"
#include "win/unique_handle.h"

// The decrypted-items file's body holding the given item elements.
std::string StoreBody(const std::string& items);
// An item in a folder (whose path is ASCII, as test folders are), with the time it was
// decrypted when that is not 0.
std::string Item(const std::wstring& folder, const std::string& name, bool isFolder = false,
                 DWORD decryptTime = 0);
// An item "missingN.txt" of a file that does not exist.
std::string MissingItem(int number);
// count items of files that do not exist: a list long enough that a load takes a while.
std::string ManyMissingItems(int count);

// ZTFileProtect.dll beside the test program, loaded as the dashboard loads it.
class PlugIn {
public:
    PlugIn();
    HMODULE Module() const { return library_.get(); }
    std::wstring Path() const;
    template <class Fn>
    Fn Entry(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library_.get(), name)));
    }
    // An entry point without arguments: DllRegisterServer, DllUnregisterServer, DllCanUnloadNow.
    HRESULT Call(const char* name) const { return Entry<HRESULT(STDAPICALLTYPE*)()>(name)(); }
    HRESULT GetPage(DashboardPageInfo** info, UINT index) const {
        return Entry<HRESULT(STDAPICALLTYPE*)(DashboardPageInfo**, UINT)>("ZTGetPropertyPageEx")(info, index);
    }
    // A string of the plug-in's resources.
    std::wstring String(UINT id) const;
    // Unloads it before the test ends.
    void Unload() { library_.reset(); }

private:
    Library library_;
};

// A message-only window on the test's thread that keeps every message posted to it.
class MessageSink {
public:
    MessageSink();
    ~MessageSink() { ::DestroyWindow(window_); }
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;

    HWND Window() const { return window_; }
    const std::vector<MSG>& Received() const { return received_; }
    // Dispatches messages until the condition holds or the time is up; true when it held.
    bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);
    void PumpFor(DWORD ms) {
        PumpUntil([] { return false; }, ms);
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<MSG> received_;
};

// Whether the condition holds within the time, looked at every 20 ms.
bool Eventually(const std::function<bool()>& condition, DWORD timeoutMs);

// Set by the screenshot script (show-dashboard): says that the screen shows what the picture
// of that name is to show, and waits until the script has taken it.
void WaitForScreenshot(const std::wstring& name);

// The decrypted-items file as a program that loads it sees it.
class StoreContent {
public:
    StoreContent() { EXPECT_EQ(items_.LoadItems(nullptr), S_OK); }
    const CDecryptedItem* Find(const std::wstring& name) const {
        return items_.Find(CDecryptedItem::KeyOf(name));
    }
    std::size_t Count() const { return items_.Count(); }

private:
    CDecryptedItems items_;
};

// What the plug-in's registration touches, put back when the test ends.
class RegistrationBackup {
private:
    RegistryBackup dashboard_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications\\DashBoard"};
    RegistryBackup progId_{HKEY_CLASSES_ROOT, L"ZTFileProtect.ZTFileProtectStatus.1"};
    RegistryBackup independentProgId_{HKEY_CLASSES_ROOT, L"ZTFileProtect.ZTFileProtectStatus"};
    RegistryBackup class_{HKEY_CLASSES_ROOT, L"CLSID\\{EB28F6E5-D5C2-4012-8D12-4F58F3E53080}"};
};

// The user's reminder settings, put back when the test ends.
class NotifySettingsBackup {
private:
    RegistryValueBackup enable_{HKEY_CURRENT_USER, kSettingsKey, L"EnableCryptNotify"};
    RegistryValueBackup timeout_{HKEY_CURRENT_USER, kSettingsKey, L"CryptNotifyTimeout"};

public:
    static constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";
};
