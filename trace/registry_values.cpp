#include "trace/registry_values.h"

namespace ZTTraceNS {
namespace {

// Value names are at most this long; an enumeration buffer of this size never falls short.
constexpr DWORD kMaxValueName = 16383;

}  // namespace

RegKey OpenReadKey(HKEY root, const wchar_t* path) {
    RegKey key;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) key.reset();
    return key;
}

std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!key ||
        ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value) {
        return std::nullopt;
    }
    return value;
}

StringValue ReadString(HKEY key, const wchar_t* name, DWORD maxUnits) {
    StringValue result;
    if (!key) return result;
    // One unit more than allowed, for a terminating zero the data may or may not carry.
    std::wstring buffer(maxUnits + 1, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    result.status =
        ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result.status != ERROR_SUCCESS) return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        result.status = ERROR_INVALID_DATATYPE;
        return result;
    }
    buffer.resize(size / sizeof(wchar_t));
    const std::size_t end = buffer.find(L'\0');
    if (end != std::wstring::npos) buffer.resize(end);
    if (buffer.size() > maxUnits) {
        result.status = ERROR_MORE_DATA;
        return result;
    }
    result.text = std::move(buffer);
    return result;
}

std::vector<std::wstring> ValueNames(HKEY key, const wchar_t* subKey) {
    std::vector<std::wstring> names;
    const RegKey source = key ? OpenReadKey(key, subKey) : RegKey();
    if (!source) return names;
    std::wstring name(kMaxValueName + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD units = static_cast<DWORD>(name.size());
        if (::RegEnumValueW(source.get(), index, name.data(), &units, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return names;
        }
        names.emplace_back(name.data(), units);
    }
}

}  // namespace ZTTraceNS
