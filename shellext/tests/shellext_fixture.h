#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "registry_backup.h"
#include "test_support.h"

// {18154541-0F1A-11D5-87C1-00010242D7FF} as the registry names it.
inline constexpr wchar_t kClassId[] = L"{18154541-0F1A-11D5-87C1-00010242D7FF}";
inline constexpr wchar_t kClassKey[] = L"Software\\Classes\\CLSID\\{18154541-0F1A-11D5-87C1-00010242D7FF}";
inline constexpr wchar_t kFileHandlerKey[] = L"*\\shellex\\ContextMenuHandlers\\Tapwise Crypto";
inline constexpr wchar_t kFolderHandlerKey[] = L"Directory\\shellex\\ContextMenuHandlers\\Tapwise Crypto";
inline constexpr wchar_t kFileTypeKey[] = L"Tapwise Crypto";
inline constexpr wchar_t kOpenCommandKey[] = L"Tapwise Crypto\\shell\\open\\command";
inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zentaro\\Settings";

#ifdef _WIN64
inline constexpr wchar_t kPlugInName[] = L"ZTShell64.dll";
#else
inline constexpr wchar_t kPlugInName[] = L"ZTShell.dll";
#endif

// One menu item as the Explorer stand-in printed it.
struct HostItem {
    int position;
    UINT id;
    std::wstring verb;
    bool bitmaps;
    std::wstring text;
    std::wstring help;
};

// What the stand-in did: the handler's answer, the menu, and the invocations' results.
struct HostRun {
    DWORD exitCode;
    std::wstring output;
    std::vector<std::wstring> handlerResults;
    std::vector<HostItem> items;
    std::vector<std::wstring> invokeResults;
    std::vector<std::wstring> picked;

    // The items the plug-in added, in menu order.
    std::vector<HostItem> PlugInItems() const;
};

// The plug-in installed in a folder with spaces in its name, with the settings library beside
// it and a marker program registered as the open command of "Tapwise Crypto"; every key the
// plug-in, its registration and the tests touch is put back as it was found.
class ShellExtTest : public ::testing::Test {
protected:
    void SetUp() override;

    std::wstring Installed(const std::wstring& name) const { return install_ + L"\\" + name; }
    std::wstring MarkerPath() const { return Installed(L"shell_marker.exe"); }
    // A file of the selection, made in the selection folder (sub-folders included).
    std::wstring File(const std::wstring& relative) const;
    std::wstring Folder(const std::wstring& relative) const;

    static DWORD RunRegsvr32(const std::wstring& arguments);
    static void SetOpenCommand(const std::wstring& command);
    static void SetShowCommands(const std::wstring& text);

    // Runs the Explorer stand-in with the arguments, then the selected paths quoted.
    static HostRun Host(const std::wstring& arguments, const std::vector<std::wstring>& paths);
    // The command line the marker was started with; nothing when it was not started in time.
    std::optional<std::wstring> StartedCommandLine(DWORD timeoutMs = 15000) const;

    TempFolder root_;
    std::wstring install_;
    std::wstring selection_;
    RegistryBackup fileType_{HKEY_CLASSES_ROOT, kFileTypeKey};
    RegistryBackup fileHandler_{HKEY_CLASSES_ROOT, kFileHandlerKey};
    RegistryBackup folderHandler_{HKEY_CLASSES_ROOT, kFolderHandlerKey};
    RegistryBackup classKey_{HKEY_LOCAL_MACHINE, kClassKey};
    // The settings library is then looked for beside the plug-in.
    RegistryBackup applications_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro\\Applications"};
    RegistryValueBackup installFolder_{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zentaro", L"ZentaroPath",
                                       KEY_WOW64_64KEY};
    RegistryValueBackup showCommands_{HKEY_CURRENT_USER, kSettingsKey, L"show_encrypt_icon"};
};
