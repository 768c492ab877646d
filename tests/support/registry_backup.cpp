#include "registry_backup.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kBackups[] = L"Software\\ZentaroTestBackups";

// Unique per process and backup, since several may be held at once.
std::wstring BackupName() {
    static unsigned counter = 0;
    return std::wstring(kBackups) + L"\\" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
           std::to_wstring(++counter);
}

using Value = RegistryValueBackup::Value;

std::optional<Value> ReadValue(HKEY key, const std::wstring& name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
    Value value{name, type, std::vector<BYTE>(bytes)};
    if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, value.data.data(), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    value.data.resize(bytes);
    return value;
}

void WriteValue(HKEY key, const Value& value) {
    ::RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                     static_cast<DWORD>(value.data.size()));
}

bool IsEmpty(HKEY key) {
    DWORD subKeys = 0;
    DWORD values = 0;
    return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                              nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys == 0 && values == 0;
}

// The outermost key along subKey that is missing (subKey itself when only it is); empty when
// subKey exists.
std::wstring FirstMissingKey(HKEY root, const std::wstring& subKey, REGSAM view) {
    RegKey key;
    for (std::size_t end = subKey.find(L'\\'); end != std::wstring::npos; end = subKey.find(L'\\', end + 1)) {
        const std::wstring parent = subKey.substr(0, end);
        if (::RegOpenKeyExW(root, parent.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS)
            return parent;
    }
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return subKey;
    return {};
}

// Removes path and the keys above it, as long as each is empty, up to firstMissing: the keys
// a test made.
void RemoveEmptyKeys(HKEY root, std::wstring path, const std::wstring& firstMissing, REGSAM view) {
    if (firstMissing.empty()) return;
    for (; path.size() >= firstMissing.size(); path.resize(path.rfind(L'\\'))) {
        RegKey key;
        if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) break;
        const bool empty = IsEmpty(key.get());
        key.reset();
        if (!empty || ::RegDeleteKeyExW(root, path.c_str(), view, 0) != ERROR_SUCCESS) break;
        if (path.size() == firstMissing.size()) break;
    }
}

}  // namespace

std::optional<std::wstring> ReadRegistryText(HKEY root, const wchar_t* subKey, const wchar_t* name) {
    RegKey key;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return std::nullopt;
    const std::optional<Value> value = ReadValue(key.get(), name ? name : L"");
    if (!value) return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(value->data.data()),
                      value->data.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

std::optional<DWORD> ReadRegistryDword(HKEY root, const wchar_t* subKey, const wchar_t* name) {
    RegKey key;
    if (::RegOpenKeyExW(root, subKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return std::nullopt;
    const std::optional<Value> value = ReadValue(key.get(), name ? name : L"");
    if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD)) return std::nullopt;
    DWORD number = 0;
    std::memcpy(&number, value->data.data(), sizeof number);
    return number;
}

bool RegistryKeyExists(HKEY root, const wchar_t* subKey) {
    RegKey key;
    return ::RegOpenKeyExW(root, subKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

RegKey CreateRegistryKey(HKEY root, const std::wstring& subKey, REGSAM view, DWORD options) {
    RegKey key;
    EXPECT_EQ(::RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, options, KEY_ALL_ACCESS | view, nullptr,
                                key.put(), nullptr),
              ERROR_SUCCESS);
    return key;
}

void MakeUnwritableBelow(HKEY root, const std::wstring& parent, const std::wstring& child) {
    DeleteRegistryTree(root, parent);
    CreateRegistryKey(root, parent);
    CreateRegistryKey(root, parent + L"\\" + child, 0, REG_OPTION_VOLATILE);
}

void DeleteRegistryTree(HKEY root, const std::wstring& subKey, REGSAM view) {
    RegKey key;
    if (::RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ALL_ACCESS | view, key.put()) != ERROR_SUCCESS) return;
    ::RegDeleteTreeW(key.get(), nullptr);
    key.reset();
    ::RegDeleteKeyExW(root, subKey.c_str(), view, 0);
}

RegistryBackup::RegistryBackup(HKEY root, std::wstring subKey, REGSAM view)
    : root_(root), subKey_(std::move(subKey)), view_(view), saved_(BackupName()) {
    RegKey source;
    existed_ = ::RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_READ | view_, source.put()) == ERROR_SUCCESS;
    if (!existed_) {
        firstMissing_ = FirstMissingKey(root_, subKey_, view_);
        return;
    }
    const RegKey copy = CreateRegistryKey(HKEY_CURRENT_USER, saved_);
    EXPECT_EQ(::RegCopyTreeW(source.get(), nullptr, copy.get()), ERROR_SUCCESS);
}

RegistryBackup::~RegistryBackup() {
    DeleteRegistryTree(root_, subKey_, view_);
    // The keys above it that the test made go too.
    const std::size_t parent = subKey_.rfind(L'\\');
    if (!existed_ && parent != std::wstring::npos)
        RemoveEmptyKeys(root_, subKey_.substr(0, parent), firstMissing_, view_);
    if (existed_) {
        RegKey saved;
        EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, saved_.c_str(), 0, KEY_READ, saved.put()),
                  ERROR_SUCCESS);
        const RegKey restored = CreateRegistryKey(root_, subKey_, view_);
        EXPECT_EQ(::RegCopyTreeW(saved.get(), nullptr, restored.get()), ERROR_SUCCESS);
    }
    DeleteRegistryTree(HKEY_CURRENT_USER, saved_);
    // Only succeeds once no other backup is held.
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kBackups);
}

RegistryValueBackup::RegistryValueBackup(HKEY root, std::wstring subKey, std::wstring name, REGSAM view)
    : root_(root), subKey_(std::move(subKey)), name_(std::move(name)), view_(view) {
    RegKey key;
    if (::RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_READ | view_, key.put()) == ERROR_SUCCESS) {
        saved_ = ReadValue(key.get(), name_);
        return;
    }
    firstMissing_ = FirstMissingKey(root_, subKey_, view_);
}

RegistryValueBackup::~RegistryValueBackup() {
    RegKey key;
    if (::RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_ALL_ACCESS | view_, key.put()) != ERROR_SUCCESS)
        return;
    if (saved_) {
        WriteValue(key.get(), *saved_);
        return;
    }
    ::RegDeleteValueW(key.get(), name_.c_str());
    key.reset();
    RemoveEmptyKeys(root_, subKey_, firstMissing_, view_);
}
