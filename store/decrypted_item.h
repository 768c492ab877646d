#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// One remembered file or folder: its name as recorded, the folder that holds it, when it was
// recorded and whether it still exists. Items are identified by name alone, through a key
// that is the name upper-cased, so that names match whatever their case.
class CDecryptedItem {
public:
    // A new record exists until a load finds otherwise, and has no folder and no time yet.
    CDecryptedItem(std::wstring name, bool isFolder);

    // The name through the system's case mapping.
    static std::wstring KeyOf(std::wstring_view name);

    const std::wstring& Name() const { return name_; }
    const std::wstring& Key() const { return key_; }
    bool IsFolder() const { return isFolder_; }

    // The folder that holds the item, without a trailing separator.
    const std::wstring& Path() const { return path_; }
    void SetPath(std::wstring path) { path_ = std::move(path); }
    // Path and name joined.
    std::wstring FullPath() const { return path_ + L'\\' + name_; }

    // A FILETIME as one number (100 ns units since 1601, UTC); 0 when unknown.
    ULONGLONG DecryptTime() const { return decryptTime_; }
    void SetDecryptTime(ULONGLONG time) { decryptTime_ = time; }

    bool Exists() const { return exists_; }
    void SetExists(bool exists) { exists_ = exists; }

private:
    std::wstring name_;
    std::wstring key_;
    std::wstring path_;
    bool isFolder_;
    bool exists_ = true;
    ULONGLONG decryptTime_ = 0;
};
