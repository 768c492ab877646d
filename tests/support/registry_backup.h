#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/unique_handle.h"

// A registry key as the test found it: the key and everything below it are copied aside, and
// when the test ends they are put back, or the key is removed when it did not exist, with the
// keys above it that did not exist either as far as they are left empty. The view
// (0 or KEY_WOW64_64KEY) picks the registry a 32-bit program sees or the 64-bit one.
class RegistryBackup {
public:
    RegistryBackup(HKEY root, std::wstring subKey, REGSAM view = 0);
    ~RegistryBackup();
    RegistryBackup(const RegistryBackup&) = delete;
    RegistryBackup& operator=(const RegistryBackup&) = delete;

private:
    HKEY root_;
    std::wstring subKey_;
    REGSAM view_;
    std::wstring saved_;
    bool existed_ = false;
    // The outermost key that did not exist.
    std::wstring firstMissing_;
};

// A REG_SZ or REG_EXPAND_SZ value's text up to its first terminator; nothing when the key or
// value is missing.
std::optional<std::wstring> ReadRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* name);
// A REG_DWORD value; nothing when the key or value is missing or of another type.
std::optional<DWORD> ReadRegistryDword(HKEY root, const wchar_t* subKey, const wchar_t* name);
bool RegistryKeyExists(HKEY root, const wchar_t* subKey);

// Opens a key for any access, creating it when missing, in the given view; options may ask
// for a volatile key.
RegKey CreateRegistryKey(HKEY root, const std::wstring& subKey, REGSAM view = 0,
                         DWORD options = REG_OPTION_NON_VOLATILE);
// Makes parent afresh with child below it as a volatile key, below which Windows and Wine
// refuse any lasting key: a place where writing fails with ERROR_CHILD_MUST_BE_VOLATILE.
void MakeUnwritableBelow(HKEY root, const std::wstring& parent, const std::wstring& child);
// Removes a key with everything below it, in the given view.
void DeleteRegistryTree(HKEY root, const std::wstring& subKey, REGSAM view = 0);

// One value as the test found it, in a registry view (KEY_WOW64_32KEY, KEY_WOW64_64KEY or 0).
// Keys that did not exist before are removed again as far as they are left empty.
class RegistryValueBackup {
public:
    RegistryValueBackup(HKEY root, std::wstring subKey, std::wstring name, REGSAM view = 0);
    ~RegistryValueBackup();
    RegistryValueBackup(const RegistryValueBackup&) = delete;
    RegistryValueBackup& operator=(const RegistryValueBackup&) = delete;

    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };

private:
    HKEY root_;
    std::wstring subKey_;
    std::wstring name_;
    REGSAM view_;
    // The keys from subKey_ up to this one did not exist.
    std::wstring firstMissing_;
    std::optional<Value> saved_;
};
