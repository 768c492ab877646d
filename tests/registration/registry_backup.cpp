#include "registry_backup.h"

#include "win/unique_handle.h"

namespace {

using Tree = RegistryKeyBackup::Tree;
using Value = RegistryKeyBackup::Value;

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

Tree Save(HKEY key) {
    Tree tree;
    wchar_t name[16384];
    for (DWORD i = 0, units = 16384;
         ::RegEnumValueW(key, i, name, &units, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, units = 16384) {
        if (auto value = ReadValue(key, name)) tree.values.push_back(std::move(*value));
    }
    for (DWORD i = 0, units = 256;
         ::RegEnumKeyExW(key, i, name, &units, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, units = 256) {
        RegKey child;
        if (::RegOpenKeyExW(key, name, 0, KEY_READ, child.put()) == ERROR_SUCCESS) {
            tree.children.emplace_back(name, Save(child.get()));
        }
    }
    return tree;
}

void Restore(HKEY parent, const std::wstring& subKey, const Tree& tree) {
    RegKey key;
    if (::RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    for (const Value& value : tree.values) WriteValue(key.get(), value);
    for (const auto& [name, child] : tree.children) Restore(key.get(), name, child);
}

bool IsEmpty(HKEY key) {
    DWORD subKeys = 0;
    DWORD values = 0;
    return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                              nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys == 0 && values == 0;
}

}  // namespace

RegistryKeyBackup::RegistryKeyBackup(HKEY root, std::wstring subKey)
    : root_(root), subKey_(std::move(subKey)) {
    RegKey key;
    if (::RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS)
        saved_ = Save(key.get());
}

RegistryKeyBackup::~RegistryKeyBackup() {
    ::RegDeleteTreeW(root_, subKey_.c_str());
    ::RegDeleteKeyW(root_, subKey_.c_str());
    if (saved_) Restore(root_, subKey_, *saved_);
}

RegistryValueBackup::RegistryValueBackup(HKEY root, std::wstring subKey, std::wstring name, REGSAM view)
    : root_(root), subKey_(std::move(subKey)), name_(std::move(name)), view_(view) {
    RegKey key;
    if (::RegOpenKeyExW(root_, subKey_.c_str(), 0, KEY_READ | view_, key.put()) == ERROR_SUCCESS) {
        saved_ = ReadValue(key.get(), name_);
        return;
    }
    firstMissing_ = subKey_;
    for (std::size_t end = subKey_.find(L'\\'); end != std::wstring::npos;
         end = subKey_.find(L'\\', end + 1)) {
        const std::wstring parent = subKey_.substr(0, end);
        if (::RegOpenKeyExW(root_, parent.c_str(), 0, KEY_READ | view_, key.put()) != ERROR_SUCCESS) {
            firstMissing_ = parent;
            break;
        }
    }
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
    if (firstMissing_.empty()) return;
    for (std::wstring path = subKey_; path.size() >= firstMissing_.size(); path.resize(path.rfind(L'\\'))) {
        if (::RegOpenKeyExW(root_, path.c_str(), 0, KEY_READ | view_, key.put()) != ERROR_SUCCESS) break;
        const bool empty = IsEmpty(key.get());
        key.reset();
        if (!empty || ::RegDeleteKeyExW(root_, path.c_str(), view_, 0) != ERROR_SUCCESS) break;
        if (path.size() == firstMissing_.size()) break;
    }
}
