#include "text/settings.h"

#include "core/registration/registry_keys.h"
#include "core/text/decimal_number.h"
#include "trace/trace_scope.h"
#include "win/registry.h"
#include "win/wide_text.h"

HRESULT GetSetting(const wchar_t* name, std::wstring& value, bool traceOnError, CSettingsLibrary& library) {
    const HRESULT hr = library.Query(name, value);
    if (FAILED(hr) && traceOnError) {
        trace::CTraceScope scope("ztsettings::get");
        trace::Trace(scope, 0, "name = %ls", name);
        trace::TraceResult(scope, nullptr, hr);
    }
    return hr;
}

HRESULT GetBoolSetting(const wchar_t* name, bool& flag, bool traceOnError, CSettingsLibrary& library) {
    flag = false;
    std::wstring text;
    const HRESULT hr = GetSetting(name, text, traceOnError, library);
    if (FAILED(hr)) return hr;
    const std::optional<std::int32_t> number = core::LeadingInteger(AsU16(text));
    if (!number || *number == 0) return E_INVALIDARG;
    flag = *number > 0;
    return S_OK;
}

bool ReadPersonalMode(CSettingsLibrary& library) {
    bool flag = false;
    return SUCCEEDED(GetBoolSetting(L"is_personalmode", flag, false, library)) && flag;
}

bool IsPersonalMode() {
    static const bool personal = ReadPersonalMode(CSettingsLibrary::Process());
    return personal;
}

namespace {

std::optional<core::FileFormat> FileFormatBelow(HKEY root) {
    const RegKey key = TryOpenKey(root, kTapwiseCryptoKey);
    switch (TryReadDword(key.get(), kFileFormatValue).value_or(0)) {
        case 1:
            return core::FileFormat::Zte;
        case 2:
            return core::FileFormat::Sealed;
        default:
            return std::nullopt;
    }
}

}  // namespace

core::FileFormat ReadFileFormatSetting() {
    if (const std::optional<core::FileFormat> policy = FileFormatBelow(HKEY_LOCAL_MACHINE)) return *policy;
    return FileFormatBelow(HKEY_CURRENT_USER).value_or(core::FileFormat::Zte);
}
