#include "trace/trace_file_header.h"

#include <windows.h>

#include <vector>

#include "core/registration/registry_keys.h"
#include "core/text/utf8.h"
#include "core/trace/trace_file_header.h"
#include "trace/configuration.h"
#include "trace/module_paths.h"
#include "win/hresult.h"
#include "win/path_parts.h"
#include "win/registry.h"
#include "win/this_module.h"

namespace trace {
namespace {

std::string Utf8(std::wstring_view text) {
    return core::Utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

void AddPlatform(core::TraceHeaderFacts& facts) {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExW(&version)) return;
    facts.ntPlatform = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    facts.majorVersion = version.dwMajorVersion;
    facts.minorVersion = version.dwMinorVersion;
    facts.servicePack = Utf8(version.szCSDVersion);
}

std::string MachineName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD units = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &units) ? Utf8({name, units}) : std::string();
}

std::optional<std::array<std::uint16_t, 4>> FileVersion() {
    const std::wstring module = ModuleFileName(ThisModule());
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(module.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!::GetFileVersionInfoW(module.c_str(), 0, size, data.data()) ||
        !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixedSize < sizeof *fixed) {
        return std::nullopt;
    }
    return std::array<std::uint16_t, 4>{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                        HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

// The registry's own error of the step (ERROR_SUCCESS when it worked), which the header records.
template <class Step>
std::uint32_t RegistryError(Step&& step) {
    return HRESULT_CODE(FailureOf(step));
}

core::TraceProduct Product(HKEY products, const std::wstring& name) {
    core::TraceProduct product;
    product.name = Utf8(name);
    RegKey key;
    product.openError = RegistryError([&] { key = OpenKey(products, name.c_str()); });
    if (product.openError != ERROR_SUCCESS) return product;
    std::wstring version;
    product.versionError =
        RegistryError([&] { version = ReadString(key.get(), L"Version", kTraceValueUnits); });
    product.version = Utf8(version);
    return product;
}

std::vector<core::TraceProduct> Products() {
    const RegKey products = TryOpenKey(HKEY_LOCAL_MACHINE, kProductsKey);
    std::vector<core::TraceProduct> list;
    for (const std::wstring& name : SubKeyNames(products.get()))
        list.push_back(Product(products.get(), name));
    return list;
}

core::TraceClock LocalTime() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace

std::string TraceFileHeader() {
    core::TraceHeaderFacts facts;
    facts.compiledDate = __DATE__;
    facts.compiledTime = __TIME__;
    AddPlatform(facts);
    facts.machineName = MachineName();
    facts.fileVersion = FileVersion();
    facts.products = Products();
    facts.networkSupport =
        TryReadDword(TryOpenKey(HKEY_LOCAL_MACHINE, kPoliciesKey).get(), L"NetworkSupport");
    facts.localTime = LocalTime();
    return core::FormatTraceHeader(facts);
}

}  // namespace trace
