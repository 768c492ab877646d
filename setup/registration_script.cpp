#include "setup/registration_script.h"

#include <optional>
#include <string>

#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/registry.h"
#include "win/wide_text.h"

namespace {

using core::KeyFlag;
using core::ScriptKey;

HKEY RootKey(core::RegistryRoot root) {
    switch (root) {
        case core::RegistryRoot::kClassesRoot:
            return HKEY_CLASSES_ROOT;
        case core::RegistryRoot::kCurrentUser:
            return HKEY_CURRENT_USER;
        case core::RegistryRoot::kLocalMachine:
            return HKEY_LOCAL_MACHINE;
        case core::RegistryRoot::kUsers:
            return HKEY_USERS;
    }
    return nullptr;
}

std::u16string ScriptText(HMODULE module, UINT resourceId) {
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"REGISTRY");
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const unsigned char*>(::LockResource(loaded)) : nullptr;
    if (!bytes) ThrowWin32(ERROR_RESOURCE_DATA_NOT_FOUND);
    return std::u16string(bytes, bytes + ::SizeofResource(module, found));
}

void SetValue(HKEY key, const std::u16string* name, const std::u16string& text) {
    const std::wstring valueName = name ? ToWide(*name) : std::wstring();
    SetString(key, name ? valueName.c_str() : nullptr, ToWide(text));
}

void Register(HKEY parent, const ScriptKey& key) {
    const std::wstring name = ToWide(key.name);
    // What cannot be removed is written over.
    if (key.flag == KeyFlag::kForceRemove) FailureOf([&] { DeleteTree(parent, name.c_str()); });
    const RegKey created = CreateKey(parent, name.c_str());
    if (key.defaultValue) SetValue(created.get(), nullptr, *key.defaultValue);
    for (const core::ScriptValue& value : key.values) SetValue(created.get(), &value.name, value.text);
    for (const ScriptKey& subKey : key.subKeys) Register(created.get(), subKey);
}

// A key whose sub-keys cannot be counted is taken to have some, so that it stays.
bool HasSubKeys(HKEY key) {
    const std::optional<KeyCounts> counts = TryReadCounts(key);
    return !counts || counts->subKeys > 0;
}

// Unregistering removes what it can: a key or value that cannot be removed stays, and the
// walk goes on.
void Unregister(HKEY parent, const ScriptKey& key) {
    const std::wstring name = ToWide(key.name);
    if (key.flag == KeyFlag::kForceRemove) {
        FailureOf([&] { DeleteTree(parent, name.c_str()); });
        return;
    }
    RegKey opened = TryOpenKey(parent, name.c_str(), KEY_READ | KEY_SET_VALUE);
    if (!opened) return;
    for (const ScriptKey& subKey : key.subKeys) Unregister(opened.get(), subKey);
    if (key.flag != KeyFlag::kNoRemove && !HasSubKeys(opened.get())) {
        opened.reset();
        FailureOf([&] { DeleteKey(parent, name.c_str()); });
        return;
    }
    for (const core::ScriptValue& value : key.values)
        FailureOf([&] { DeleteValue(opened.get(), ToWide(value.name).c_str()); });
}

}  // namespace

HRESULT RunRegistrationScript(HMODULE module, UINT resourceId, bool registering,
                              std::span<const core::ScriptReplacement> replacements) {
    trace::CTraceScope scope("RunRegistrationScript");
    return Guarded(scope, [&] {
        const auto roots = core::ParseRegistryScript(ScriptText(module, resourceId), replacements);
        if (!roots) ThrowWin32(ERROR_INVALID_DATA);
        for (const core::ScriptRoot& root : *roots) {
            for (const ScriptKey& key : root.keys) {
                if (registering) {
                    Register(RootKey(root.root), key);
                } else {
                    Unregister(RootKey(root.root), key);
                }
            }
        }
    });
}
