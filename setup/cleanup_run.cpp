#include "setup/cleanup_run.h"

#include <optional>
#include <vector>

#include "core/registration/cleanup_line.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/long_path.h"
#include "win/registry.h"
#include "win/whole_file.h"
#include "win/wide_text.h"

namespace {

// The roots a hive word stands for; none for a word the list does not use.
std::vector<RegKey> RootsOf(const std::u16string& hive) {
    std::vector<RegKey> roots;
    if (hive == u"HK") {
        roots.push_back(TryOpenKey(HKEY_LOCAL_MACHINE, L""));
    } else if (hive == u"HKU") {
        // The current user's hive is among the loaded ones on Windows; it is named anyway for
        // a system that maps it elsewhere.
        const RegKey users = TryOpenKey(HKEY_USERS, L"");
        for (const std::wstring& profile : SubKeyNames(users.get()))
            roots.push_back(TryOpenKey(users.get(), profile.c_str()));
        roots.push_back(TryOpenKey(HKEY_CURRENT_USER, L""));
    }
    std::erase_if(roots, [](const RegKey& root) { return !root; });
    return roots;
}

bool HoldsNothing(HKEY key, bool valuesCount) {
    const std::optional<KeyCounts> counts = TryReadCounts(key);
    return counts && counts->subKeys == 0 && (!valuesCount || counts->values == 0);
}

// Deletes the key when it holds no sub-keys (and, when they count, no values).
void RemoveKeyIfEmpty(HKEY root, const wchar_t* path, bool valuesCount) {
    {
        const RegKey key = OpenKeyIfPresent(root, path, KEY_QUERY_VALUE);
        if (!key || !HoldsNothing(key.get(), valuesCount)) return;
    }
    DeleteKey(root, path);
}

void RemoveValue(HKEY root, const wchar_t* path, const wchar_t* name) {
    if (const RegKey key = OpenKeyIfPresent(root, path, KEY_SET_VALUE)) DeleteValue(key.get(), name);
}

void Apply(HKEY root, const core::CleanupEntry& entry) {
    const std::wstring path = ToWide(entry.keyPath);
    switch (core::ActionOf(entry)) {
        case core::CleanupAction::kRemoveValue:
            return RemoveValue(root, path.c_str(), ToWide(*entry.valueName).c_str());
        case core::CleanupAction::kRemoveValueThenEmptyKey:
            RemoveValue(root, path.c_str(), ToWide(*entry.valueName).c_str());
            return RemoveKeyIfEmpty(root, path.c_str(), true);
        case core::CleanupAction::kRemoveKeyWithoutSubkeys:
            return RemoveKeyIfEmpty(root, path.c_str(), false);
        case core::CleanupAction::kRemoveKeyTree:
            return DeleteTree(root, path.c_str());
    }
    ThrowWin32(ERROR_INVALID_PARAMETER);
}

}  // namespace

HRESULT CarryOutCleanupList(const std::wstring& path) {
    trace::CTraceScope scope("CarryOutCleanupList");
    return Guarded(scope, [&]() -> HRESULT {
        if (::GetFileAttributesW(LongPathForm(path).c_str()) == INVALID_FILE_ATTRIBUTES) return S_FALSE;
        HRESULT first = S_OK;
        for (const core::CleanupEntry& entry : core::ParseCleanupList(ReadWholeFile(path))) {
            const std::wstring line = ToWide(entry.hive + u"\\" + entry.keyPath);
            for (const RegKey& root : RootsOf(entry.hive)) {
                // One entry that cannot be carried out does not stop the others.
                const HRESULT hr = FailureOf([&] { Apply(root.get(), entry); });
                if (FAILED(hr))
                    trace::Trace(scope, 0, "%ls: error %ld", line.c_str(),
                                 static_cast<long>(HRESULT_CODE(hr)));
                if (SUCCEEDED(first)) first = hr;
            }
        }
        return first;
    });
}
