#include "shellext/registration.h"

#include "core/registration/registry_keys.h"
#include "setup/protected_key.h"
#include "shellext/shell_extension.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/hresult.h"
#include "win/registry.h"
#include "win/this_module.h"

namespace {

constexpr wchar_t kClassName[] = L"CZTShellExtension";

std::wstring ClassIdText() {
    wchar_t text[40] = {};
    ::StringFromGUID2(CLSID_ZTShellExtension, text, 40);
    return text;
}

void ProtectClassKey(HKEY classes, const std::wstring& classId) {
    const RegKey key = OpenKey(classes, classId.c_str(), WRITE_DAC);
    if (!ProtectKey(key.get())) ThrowHr(HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION));
}

void WriteClassKey(HKEY classes, const std::wstring& modulePath) {
    const std::wstring classId = ClassIdText();
    const RegKey classKey = CreateKey(classes, classId.c_str());
    if (RegistersAsAdministrator()) ProtectClassKey(classes, classId);
    SetString(classKey.get(), nullptr, kClassName);
    const RegKey server = CreateKey(classKey.get(), L"InProcServer32");
    SetString(server.get(), nullptr, modulePath);
    SetString(server.get(), L"ThreadingModel", L"Both");
}

// The path registered as the class's server: the plug-in's own, 32- or 64-bit.
std::wstring ThisModulePath() {
    std::wstring path = ModuleFileName(ThisModule());
    if (path.empty()) ThrowLastError();
    return path;
}

std::wstring HandlerKey(const wchar_t* root) {
    return root + std::wstring(kContextMenuHandlerBelowRoot);
}

}  // namespace

HRESULT UpdateShellExtensionRegistry(bool doRegister) {
    trace::CTraceScope scope("UpdateRegistry");
    return Guarded(scope, [&] {
        const RegKey classes = OpenKey(HKEY_LOCAL_MACHINE, kClassIdsKey, MAXIMUM_ALLOWED);
        if (doRegister) {
            WriteClassKey(classes.get(), ThisModulePath());
        } else {
            DeleteTree(classes.get(), ClassIdText().c_str());
        }
    });
}

HRESULT RegisterContextMenuHandler(const wchar_t* root) {
    return FailureOf([&] {
        SetString(CreateKey(HKEY_CLASSES_ROOT, HandlerKey(root).c_str()).get(), nullptr, ClassIdText());
    });
}

HRESULT UnregisterContextMenuHandler(const wchar_t* root) {
    return FailureOf([&] { DeleteKey(HKEY_CLASSES_ROOT, HandlerKey(root).c_str()); });
}
