#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Puts a registry key back as the test found it when the test ends: its values and sub-keys,
// or its absence.
class RegistryKeyBackup {
public:
    RegistryKeyBackup(HKEY root, std::wstring subKey);
    ~RegistryKeyBackup();
    RegistryKeyBackup(const RegistryKeyBackup&) = delete;
    RegistryKeyBackup& operator=(const RegistryKeyBackup&) = delete;

    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Tree {
        std::vector<Value> values;
        std::vector<std::pair<std::wstring, Tree>> children;
    };

private:
    HKEY root_;
    std::wstring subKey_;
    std::optional<Tree> saved_;
};

// The same for one value in a registry view (KEY_WOW64_32KEY, KEY_WOW64_64KEY or 0). Keys
// that did not exist before are removed again as far as they are left empty.
class RegistryValueBackup {
public:
    RegistryValueBackup(HKEY root, std::wstring subKey, std::wstring name, REGSAM view = 0);
    ~RegistryValueBackup();
    RegistryValueBackup(const RegistryValueBackup&) = delete;
    RegistryValueBackup& operator=(const RegistryValueBackup&) = delete;

private:
    HKEY root_;
    std::wstring subKey_;
    std::wstring name_;
    REGSAM view_;
    // The keys from subKey_ up to this one did not exist.
    std::wstring firstMissing_;
    std::optional<RegistryKeyBackup::Value> saved_;
};
