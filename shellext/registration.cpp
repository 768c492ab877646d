#include "shellext/registration.h"

#include "setup/protected_key.h"
#include "setup/registry_writing.h"
#include "shellext/shell_extension.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/hresult.h"
#include "win/this_module.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kClassesKey[] = L"Software\\Classes\\CLSID";
constexpr wchar_t kClassName[] = L"CZTShellExtension";
constexpr wchar_t kHandlerKeyTail[] = L"\\shellex\\ContextMenuHandlers\\Tapwise Crypto";

std::wstring ClassIdText() {
    wchar_t text[40] = {};
    ::StringFromGUID2(CLSID_ZTShellExtension, text, 40);
    return text;
}

void ProtectClassKey(HKEY classes, const std::wstring& classId) {
    RegKey key;
    CheckStatus(::RegOpenKeyExW(classes, classId.c_str(), 0, WRITE_DAC, key.put()));
    if (!ProtectKey(key.get())) ThrowHr(HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION));
}

void WriteClassKey(HKEY classes, const std::wstring& modulePath) {
    const std::wstring classId = ClassIdText();
    const RegKey classKey = CreateKey(classes, classId.c_str());
    if (RegistersAsAdministrator()) ProtectClassKey(classes, classId);
    WriteStringValue(classKey.get(), nullptr, kClassName);
    const RegKey server = CreateKey(classKey.get(), L"InProcServer32");
    WriteStringValue(server.get(), nullptr, modulePath);
    WriteStringValue(server.get(), L"ThreadingModel", L"Both");
}

// The path registered as the class's server: the plug-in's own, 32- or 64-bit.
std::wstring ThisModulePath() {
    std::wstring path = ModuleFileName(ThisModule());
    if (path.empty()) ThrowLastError();
    return path;
}

std::wstring HandlerKey(const wchar_t* root) {
    return root + std::wstring(kHandlerKeyTail);
}

}  // namespace

HRESULT UpdateShellExtensionRegistry(bool doRegister) {
    ZTTraceNS::CTraceScope scope("UpdateRegistry");
    return Guarded(scope, [&] {
        RegKey classes;
        CheckStatus(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClassesKey, 0, MAXIMUM_ALLOWED, classes.put()));
        if (doRegister) {
            WriteClassKey(classes.get(), ThisModulePath());
        } else if (const LSTATUS status = DeleteKeyTree(classes.get(), ClassIdText().c_str());
                   status != ERROR_FILE_NOT_FOUND) {
            // A class that is not registered is as unregistering leaves it.
            CheckStatus(status);
        }
    });
}

HRESULT RegisterContextMenuHandler(const wchar_t* root) {
    LSTATUS status = ERROR_SUCCESS;
    const RegKey key = CreateWritableKey(HKEY_CLASSES_ROOT, HandlerKey(root).c_str(), &status);
    if (!key) return HResultFromWin32(static_cast<DWORD>(status));
    status = SetStringValue(key.get(), nullptr, ClassIdText());
    return status == ERROR_SUCCESS ? S_OK : HResultFromWin32(static_cast<DWORD>(status));
}

HRESULT UnregisterContextMenuHandler(const wchar_t* root) {
    const LSTATUS status = ::RegDeleteKeyW(HKEY_CLASSES_ROOT, HandlerKey(root).c_str());
    // A handler that is not registered is as unregistering leaves it.
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND
               ? S_OK
               : HResultFromWin32(static_cast<DWORD>(status));
}
