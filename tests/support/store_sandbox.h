#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "test_support.h"
#include "win/com_apartment.h"

// The store's folder in the prefix's user profile, left as the test found it: files the test
// made there are deleted, a store file that was there gets its content back, and folders
// the test made are removed. Also initialises COM as the programs do.
class StoreSandbox {
public:
    StoreSandbox();
    ~StoreSandbox();
    StoreSandbox(const StoreSandbox&) = delete;
    StoreSandbox& operator=(const StoreSandbox&) = delete;

    const std::wstring& MakerFolder() const { return maker_; }
    const std::wstring& StoreFolder() const { return folder_; }
    const std::wstring& StoreFile() const { return file_; }
    bool MakerFolderExisted() const { return makerExisted_; }

    // Every file in the store's folder, by name.
    std::vector<std::wstring> FilesInStoreFolder() const;
    // Writes the declaration and then the body as the store file.
    void WriteStore(std::string_view body) const;
    std::string ReadStore() const;

private:
    CComApartment com_;
    std::wstring maker_;
    std::wstring folder_;
    std::wstring file_;
    bool makerExisted_;
    bool folderExisted_;
    std::vector<std::wstring> filesBefore_;
    std::optional<Bytes> storeBefore_;
};

// Sets the calling thread's locale, and with it the ANSI code page the store uses, for as
// long as it lives.
class ThreadLocale {
public:
    explicit ThreadLocale(LANGID language);
    ~ThreadLocale();
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

private:
    LCID before_;
};
