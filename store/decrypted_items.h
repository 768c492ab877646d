#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "store/decrypted_item.h"

// The current user's list of decrypted files and folders, kept in "unprotected.xml" under
// the roaming application-data folder and shared by every program of the suite. There is no
// lock between processes: each writer rewrites the whole file from its own list, and readers
// notice changes by the file's last-write time. One list is used by one thread at a time;
// the thread must have initialised COM.
class CDecryptedItems {
public:
    using Items = std::unordered_map<std::wstring, std::unique_ptr<CDecryptedItem>>;

    // The store file's path; false when the shell has no application-data folder.
    static bool GetStoreFilePath(std::wstring& path);

    // True when the store file exists. Gives its last-write time (zero when missing) and,
    // when it exists, the number of items it holds (zero when it does not parse).
    static bool GetStoreFileInfo(FILETIME* lastWrite, DWORD* count);

    // Brings the list up to date with the file. When the file has not been written since the
    // last complete load, only the exists flags are refreshed. S_OK when the list was
    // reloaded or a flag changed, S_FALSE when nothing changed, E_FAIL (with an empty list)
    // when the file is missing or cannot be read or parsed, E_FAIL (with the items before
    // it) at an item without a name. A signalled stop event (may be null) ends the load
    // before the next item, and the next load is then a complete one.
    HRESULT LoadItems(HANDLE stopEvent);
    // The same, ended by whichever of the two events is signalled first.
    HRESULT LoadItems(HANDLE stopEvent, HANDLE otherStopEvent);

    // Writes the whole list to the file. Failures are returned; the list does not change.
    HRESULT SaveItems() const;

    // Records (add) or forgets (remove, whatever the recorded folder) the item at fullPath,
    // then saves the list; forgetting an item the list does not hold saves nothing. Loads the
    // file first when the list is empty. A path of any length is kept whole.
    HRESULT UpdateDecryptedItems(bool add, std::wstring_view fullPath, DWORD folderFlag);

    // Stores the item under its key, replacing the item stored there before.
    void InsertOrReplace(std::unique_ptr<CDecryptedItem> item);
    // False when no item was stored under the key.
    bool Remove(const std::wstring& key);
    CDecryptedItem* Find(const std::wstring& key) const;

    std::size_t Count() const { return items_.size(); }
    // Whether the list holds the whole file as its last load read it, with any edits since.
    // A load cut short or failed leaves a part, which must not be saved over the file.
    bool IsComplete() const { return loadedWriteTime_ != 0; }
    Items::const_iterator begin() const { return items_.begin(); }
    Items::const_iterator end() const { return items_.end(); }

private:
    // Events that end a load; null ones are never signalled.
    using StopEvents = std::array<HANDLE, 2>;

    // Load and its parts throw the file's own read failure, which LoadItems reduces to E_FAIL.
    HRESULT Load(const StopEvents& stop);
    HRESULT LoadAll(const std::wstring& path, ULONGLONG writeTime, const StopEvents& stop);
    void AddLoaded(std::unique_ptr<CDecryptedItem> item);
    bool RefreshExists(const StopEvents& stop);
    void LoadBeforeUpdate();

    Items items_;
    // The file's last-write time at the last complete load; 0 forces the next load to be one.
    ULONGLONG loadedWriteTime_ = 0;
};
