#include "win/registry.h"

#include "win/hresult.h"

namespace {

// Key names are at most 255 units and value names 16383; enumeration buffers of these sizes
// never fall short.
constexpr DWORD kMaxKeyName = 255;
constexpr DWORD kMaxValueName = 16383;

// Throws unless the call worked or found nothing there: deleting what is already gone has
// done what was asked.
void CheckDeleted(LSTATUS status) {
    if (status != ERROR_FILE_NOT_FOUND && status != ERROR_PATH_NOT_FOUND) CheckStatus(status);
}

void SetValue(HKEY key, const wchar_t* name, DWORD type, const void* data, std::size_t bytes) {
    CheckStatus(
        ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes)));
}

// The value's data and type, into a buffer of the given size; the registry's status.
LSTATUS QueryValue(HKEY key, const wchar_t* name, DWORD& type, void* data, DWORD& bytes) {
    if (!key) return ERROR_INVALID_HANDLE;
    return ::RegQueryValueExW(key, name, nullptr, &type, static_cast<BYTE*>(data), &bytes);
}

// ReadString without the throw: the registry's status, and the text and its type when it is
// ERROR_SUCCESS.
LSTATUS QueryString(HKEY key, const wchar_t* name, std::size_t maxUnits, std::wstring& text, DWORD& type) {
    // One unit more than allowed, so a value without its terminator still ends.
    std::wstring buffer(maxUnits + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(maxUnits * sizeof(wchar_t));
    if (const LSTATUS status = QueryValue(key, name, type, buffer.data(), bytes)) return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATATYPE;
    buffer.resize(buffer.find(L'\0'));
    if (buffer.size() >= maxUnits) return ERROR_MORE_DATA;
    text = std::move(buffer);
    return ERROR_SUCCESS;
}

std::optional<std::wstring> Expanded(const std::wstring& text, std::size_t maxUnits) {
    std::wstring buffer(maxUnits, L'\0');
    const DWORD needed =
        ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<DWORD>(maxUnits));
    if (needed == 0 || needed > maxUnits) return std::nullopt;
    return std::wstring(buffer.c_str());
}

template <class Enumerate>
std::vector<std::wstring> Names(HKEY key, DWORD maxUnits, Enumerate enumerate) {
    std::vector<std::wstring> names;
    if (!key) return names;
    std::wstring name(maxUnits + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD units = static_cast<DWORD>(name.size());
        if (enumerate(index, name.data(), units) != ERROR_SUCCESS) return names;
        names.emplace_back(name.data(), units);
    }
}

}  // namespace

void handle_detail::CloseKey(HKEY key) {
    ::RegCloseKey(key);
}

RegKey OpenKey(HKEY root, const wchar_t* path, REGSAM access) {
    RegKey key;
    if (const LSTATUS status = ::RegOpenKeyExW(root, path, 0, access, key.put())) {
        key.release();
        ThrowWin32(static_cast<DWORD>(status));
    }
    return key;
}

RegKey TryOpenKey(HKEY root, const wchar_t* path, REGSAM access) {
    RegKey key;
    if (::RegOpenKeyExW(root, path, 0, access, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

RegKey OpenKeyIfPresent(HKEY root, const wchar_t* path, REGSAM access) {
    RegKey key;
    if (const LSTATUS status = ::RegOpenKeyExW(root, path, 0, access, key.put())) {
        key.release();
        CheckDeleted(status);
    }
    return key;
}

RegKey CreateKey(HKEY parent, const wchar_t* path) {
    RegKey key;
    if (const LSTATUS status =
            ::RegCreateKeyExW(parent, path, 0, nullptr, 0, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE,
                              nullptr, key.put(), nullptr)) {
        key.release();
        ThrowWin32(static_cast<DWORD>(status));
    }
    return key;
}

void SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
    SetValue(key, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value) {
    SetValue(key, name, REG_DWORD, &value, sizeof value);
}

void SetMultiString(HKEY key, const wchar_t* name, const std::vector<std::wstring>& strings) {
    std::wstring data;
    for (const std::wstring& text : strings) data.append(text).push_back(L'\0');
    data.push_back(L'\0');
    SetValue(key, name, REG_MULTI_SZ, data.data(), data.size() * sizeof(wchar_t));
}

void SetKeySecurity(HKEY key, SECURITY_DESCRIPTOR& descriptor) {
    CheckStatus(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor));
}

void DeleteValue(HKEY key, const wchar_t* name) {
    CheckDeleted(::RegDeleteValueW(key, name));
}

void DeleteKey(HKEY parent, const wchar_t* path) {
    CheckDeleted(::RegDeleteKeyW(parent, path));
}

void DeleteTree(HKEY parent, const wchar_t* path) {
    {
        RegKey key;
        if (const LSTATUS status = ::RegOpenKeyExW(parent, path, 0, KEY_READ, key.put())) {
            key.release();
            return CheckDeleted(status);
        }
        // Always the first sub-key: deleting one renumbers the rest.
        wchar_t child[kMaxKeyName + 1];
        for (DWORD units = kMaxKeyName + 1; ::RegEnumKeyExW(key.get(), 0, child, &units, nullptr, nullptr,
                                                            nullptr, nullptr) == ERROR_SUCCESS;
             units = kMaxKeyName + 1) {
            DeleteTree(key.get(), child);
        }
    }
    DeleteKey(parent, path);
}

std::wstring ReadString(HKEY key, const wchar_t* name, std::size_t maxUnits) {
    std::wstring text;
    DWORD type = 0;
    CheckStatus(QueryString(key, name, maxUnits, text, type));
    return text;
}

std::optional<std::wstring> TryReadString(HKEY key, const wchar_t* name, std::size_t maxUnits) {
    std::wstring text;
    DWORD type = 0;
    if (QueryString(key, name, maxUnits, text, type) != ERROR_SUCCESS) return std::nullopt;
    return text;
}

std::optional<std::wstring> TryReadExpandedString(HKEY key, const wchar_t* name, std::size_t maxUnits) {
    std::wstring text;
    DWORD type = 0;
    if (QueryString(key, name, maxUnits, text, type) != ERROR_SUCCESS) return std::nullopt;
    return type == REG_EXPAND_SZ ? Expanded(text, maxUnits) : text;
}

std::optional<std::wstring> TryReadExpandedString(HKEY root, const wchar_t* path, const wchar_t* name,
                                                  std::size_t maxUnits) {
    const RegKey key = TryOpenKey(root, path, KEY_QUERY_VALUE);
    return TryReadExpandedString(key.get(), name, maxUnits);
}

std::optional<DWORD> TryReadDword(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof value;
    if (QueryValue(key, name, type, &value, bytes) != ERROR_SUCCESS || type != REG_DWORD ||
        bytes != sizeof value)
        return std::nullopt;
    return value;
}

std::optional<std::vector<std::wstring>> TryReadMultiString(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (QueryValue(key, name, type, nullptr, bytes) != ERROR_SUCCESS || type != REG_MULTI_SZ)
        return std::nullopt;
    // Two zero units more than the value, so a value stored without its terminators still ends.
    std::wstring buffer(bytes / sizeof(wchar_t) + 2, L'\0');
    if (QueryValue(key, name, type, buffer.data(), bytes) != ERROR_SUCCESS) return std::nullopt;
    std::vector<std::wstring> strings;
    for (const wchar_t* p = buffer.c_str(); *p; p += strings.back().size() + 1) strings.emplace_back(p);
    return strings;
}

std::optional<KeyCounts> TryReadCounts(HKEY key) {
    KeyCounts counts;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &counts.subKeys, nullptr, nullptr, &counts.values,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return counts;
}

std::vector<std::wstring> SubKeyNames(HKEY key) {
    return Names(key, kMaxKeyName, [&](DWORD index, wchar_t* name, DWORD& units) {
        return ::RegEnumKeyExW(key, index, name, &units, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::wstring> ValueNames(HKEY key) {
    return Names(key, kMaxValueName, [&](DWORD index, wchar_t* name, DWORD& units) {
        return ::RegEnumValueW(key, index, name, &units, nullptr, nullptr, nullptr, nullptr);
    });
}
