#include "store/decrypted_items.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "store/item_xml.h"
#include "store/store_file.h"
#include "store/store_format.h"
#include "store/store_location.h"
#include "store/xml_document.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/hresult.h"
#include "win/path_parts.h"

using trace::CTraceScope;

namespace {

constexpr wchar_t kListElement[] = L"DecryptedItems";
constexpr wchar_t kItemElement[] = L"item";
constexpr wchar_t kSaveTemplate[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZTFileProtectionConfig/>";

bool IsSignalled(const std::array<HANDLE, 2>& events) {
    for (HANDLE event : events) {
        if (event != nullptr && ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0) return true;
    }
    return false;
}

ULONGLONG SystemTimeNow() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    return ULARGE_INTEGER{{now.dwLowDateTime, now.dwHighDateTime}}.QuadPart;
}

// The root element's first item list, whatever the root is called; nothing when it has none.
std::optional<CXmlElement> ReadItemList(const std::wstring& path) {
    return ParseStoreBytes(ReadStoreFile(path)).Root().FirstChild(kListElement);
}

DWORD CountItems(const std::wstring& path) {
    try {
        const std::optional<CXmlElement> list = ReadItemList(path);
        return list ? static_cast<DWORD>(list->Children(kItemElement).size()) : 0;
    } catch (const HResultError&) {
        return 0;
    }
}

// fullPath without trailing separators, cut at its last separator: the folder and the name.
std::pair<std::wstring, std::wstring> SplitFullPath(std::wstring_view fullPath) {
    const std::size_t last = fullPath.find_last_not_of(L"\\/");
    if (last == std::wstring_view::npos) ThrowHr(E_INVALIDARG);
    const std::wstring_view trimmed = fullPath.substr(0, last + 1);
    const std::size_t separator = trimmed.find_last_of(L"\\/");
    if (separator == std::wstring_view::npos) return {std::wstring(), std::wstring(trimmed)};
    return {std::wstring(trimmed.substr(0, separator)), std::wstring(trimmed.substr(separator + 1))};
}

// A file that does not exist or does not parse is replaced by the list an update writes. One
// that exists but cannot be read right now (another process is writing it) must not be:
// that list would lack every item the file holds.
bool MayReplaceAfter(HRESULT readFailure) {
    if (HRESULT_FACILITY(readFailure) != FACILITY_WIN32) return true;
    const DWORD code = HRESULT_CODE(readFailure);
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool CDecryptedItems::GetStoreFilePath(std::wstring& path) {
    CTraceScope scope("CDecryptedItems::GetStoreFilePath");
    return SUCCEEDED(Guarded(scope, [&] { path = StoreFilePath(); }));
}

bool CDecryptedItems::GetStoreFileInfo(FILETIME* lastWrite, DWORD* count) {
    CTraceScope scope("CDecryptedItems::GetStoreFileInfo");
    if (lastWrite) *lastWrite = {};
    if (count) *count = 0;
    ULONGLONG writeTime = 0;
    Guarded(scope, [&] {
        const std::wstring path = StoreFilePath();
        writeTime = StoreFileWriteTime(path);
        if (lastWrite) *lastWrite = {static_cast<DWORD>(writeTime), static_cast<DWORD>(writeTime >> 32)};
        if (writeTime != 0 && count) *count = CountItems(path);
    });
    return writeTime != 0;
}

HRESULT CDecryptedItems::LoadItems(HANDLE stopEvent) {
    return LoadItems(stopEvent, nullptr);
}

HRESULT CDecryptedItems::LoadItems(HANDLE stopEvent, HANDLE otherStopEvent) {
    CTraceScope scope("CDecryptedItems::LoadItems");
    return Guarded(scope, [&]() -> HRESULT {
        try {
            return Load({stopEvent, otherStopEvent});
        } catch (const HResultError& e) {
            trace::TraceResult(scope, "reading the store file", e.code());
            ThrowHr(e.code() == E_OUTOFMEMORY ? E_OUTOFMEMORY : E_FAIL);
        }
    });
}

HRESULT CDecryptedItems::Load(const StopEvents& stop) {
    const std::wstring path = StoreFilePath();
    const ULONGLONG writeTime = StoreFileWriteTime(path);
    if (writeTime != 0 && writeTime == loadedWriteTime_) return RefreshExists(stop) ? S_OK : S_FALSE;
    return LoadAll(path, writeTime, stop);
}

HRESULT CDecryptedItems::LoadAll(const std::wstring& path, ULONGLONG writeTime, const StopEvents& stop) {
    items_.clear();
    // Remembered only once the whole file is in the list: a load cut short or failed must be
    // followed by a complete one, not by a refresh of the part that was read.
    loadedWriteTime_ = 0;
    if (const std::optional<CXmlElement> list = ReadItemList(path)) {
        for (const CXmlElement& element : list->Children(kItemElement)) {
            if (IsSignalled(stop)) return S_OK;
            AddLoaded(ReadItemElement(element));
        }
    }
    loadedWriteTime_ = writeTime;
    return S_OK;
}

void CDecryptedItems::AddLoaded(std::unique_ptr<CDecryptedItem> item) {
    item->SetExists(PathExists(item->FullPath()));
    InsertOrReplace(std::move(item));
}

bool CDecryptedItems::RefreshExists(const StopEvents& stop) {
    bool changed = false;
    for (auto& [key, item] : items_) {
        if (IsSignalled(stop)) break;
        const bool exists = PathExists(item->FullPath());
        if (exists == item->Exists()) continue;
        item->SetExists(exists);
        changed = true;
    }
    return changed;
}

HRESULT CDecryptedItems::SaveItems() const {
    CTraceScope scope("CDecryptedItems::SaveItems");
    return Guarded(scope, [&] {
        const std::wstring path = StoreFilePath();
        CXmlDocument document = CXmlDocument::Create();
        document.Parse(kSaveTemplate);
        const CXmlElement root = document.Root();
        const CXmlElement list = document.CreateElement(kListElement);
        root.AppendChild(list);
        for (const auto& [key, item] : items_) AppendItemElement(document, list, *item);
        const std::string bytes = StoreBytes(root);
        WriteStoreFile(path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    });
}

HRESULT CDecryptedItems::UpdateDecryptedItems(bool add, std::wstring_view fullPath, DWORD folderFlag) {
    CTraceScope scope("CDecryptedItems::UpdateDecryptedItems");
    return Guarded(scope, [&]() -> HRESULT {
        auto [folder, name] = SplitFullPath(fullPath);
        if (items_.empty()) LoadBeforeUpdate();
        if (!add) {
            // Encrypting a file the list does not hold changes nothing: the file is not rewritten,
            // which would cost a whole save for every file of a run.
            if (!Remove(CDecryptedItem::KeyOf(name))) return S_OK;
            return SaveItems();
        }
        auto item = std::make_unique<CDecryptedItem>(std::move(name), folderFlag == 1);
        item->SetPath(std::move(folder));
        item->SetDecryptTime(SystemTimeNow());
        InsertOrReplace(std::move(item));
        return SaveItems();
    });
}

void CDecryptedItems::LoadBeforeUpdate() {
    try {
        Load({});
    } catch (const HResultError& e) {
        if (!MayReplaceAfter(e.code())) throw;
    }
}

void CDecryptedItems::InsertOrReplace(std::unique_ptr<CDecryptedItem> item) {
    std::wstring key = item->Key();
    items_.insert_or_assign(std::move(key), std::move(item));
}

bool CDecryptedItems::Remove(const std::wstring& key) {
    return items_.erase(key) != 0;
}

CDecryptedItem* CDecryptedItems::Find(const std::wstring& key) const {
    const auto found = items_.find(key);
    return found == items_.end() ? nullptr : found->second.get();
}
