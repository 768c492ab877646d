#include "setup/cleanup_run.h"

#include <vector>

#include "core/cleanup_line.h"
#include "setup/registry_writing.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/registry_names.h"
#include "win/unique_handle.h"
#include "win/whole_file.h"
#include "win/wide_text.h"

namespace {

RegKey OpenRoot(HKEY root, const wchar_t* subKey) {
    RegKey key;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) key.reset();
    return key;
}

// The roots a hive word stands for; none for a word the list does not use.
std::vector<RegKey> RootsOf(const std::u16string& hive) {
    std::vector<RegKey> roots;
    if (hive == u"HK") {
        roots.push_back(OpenRoot(HKEY_LOCAL_MACHINE, L""));
    } else if (hive == u"HKU") {
        // The current user's hive is among the loaded ones on Windows; it is named anyway for
        // a system that maps it elsewhere.
        const RegKey users = OpenRoot(HKEY_USERS, L"");
        for (const std::wstring& profile : SubKeyNames(users.get()))
            roots.push_back(OpenRoot(users.get(), profile.c_str()));
        roots.push_back(OpenRoot(HKEY_CURRENT_USER, L""));
    }
    std::erase_if(roots, [](const RegKey& root) { return !root; });
    return roots;
}

bool IsGone(LSTATUS status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

LSTATUS Removed(LSTATUS status) {
    return IsGone(status) ? ERROR_SUCCESS : status;
}

bool HoldsNothing(HKEY key, bool valuesCount) {
    DWORD subKeys = 0;
    DWORD values = 0;
    return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                              nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys == 0 && (!valuesCount || values == 0);
}

// Deletes the key when it holds no sub-keys (and, when they count, no values).
LSTATUS RemoveKeyIfEmpty(HKEY root, const wchar_t* path, bool valuesCount) {
    {
        RegKey key;
        if (const LSTATUS status = ::RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, key.put()))
            return Removed(status);
        if (!HoldsNothing(key.get(), valuesCount)) return ERROR_SUCCESS;
    }
    return Removed(::RegDeleteKeyW(root, path));
}

LSTATUS RemoveValue(HKEY root, const wchar_t* path, const wchar_t* name) {
    RegKey key;
    if (const LSTATUS status = ::RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, key.put()))
        return Removed(status);
    return Removed(::RegDeleteValueW(key.get(), name));
}

LSTATUS Apply(HKEY root, const core::CleanupEntry& entry) {
    const std::wstring path = ToWide(entry.keyPath);
    switch (core::ActionOf(entry)) {
        case core::CleanupAction::kRemoveValue:
            return RemoveValue(root, path.c_str(), ToWide(*entry.valueName).c_str());
        case core::CleanupAction::kRemoveValueThenEmptyKey:
            if (const LSTATUS status = RemoveValue(root, path.c_str(), ToWide(*entry.valueName).c_str()))
                return status;
            return RemoveKeyIfEmpty(root, path.c_str(), true);
        case core::CleanupAction::kRemoveKeyWithoutSubkeys:
            return RemoveKeyIfEmpty(root, path.c_str(), false);
        case core::CleanupAction::kRemoveKeyTree:
            return Removed(DeleteKeyTree(root, path.c_str()));
    }
    return ERROR_INVALID_PARAMETER;
}

}  // namespace

HRESULT CarryOutCleanupList(const std::wstring& path) {
    ZTTraceNS::CTraceScope scope("CarryOutCleanupList");
    return Guarded(scope, [&]() -> HRESULT {
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return S_FALSE;
        LSTATUS first = ERROR_SUCCESS;
        for (const core::CleanupEntry& entry : core::ParseCleanupList(ReadWholeFile(path))) {
            const std::wstring line = ToWide(entry.hive + u"\\" + entry.keyPath);
            for (const RegKey& root : RootsOf(entry.hive)) {
                const LSTATUS status = Apply(root.get(), entry);
                if (status != ERROR_SUCCESS)
                    ZTTraceNS::Trace(scope, 0, "%ls: error %ld", line.c_str(), status);
                if (first == ERROR_SUCCESS) first = status;
            }
        }
        return HRESULT_FROM_WIN32(first);
    });
}
