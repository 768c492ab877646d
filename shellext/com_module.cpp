#include "shellext/com_module.h"

#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/this_module.h"

CZTComModule g_module;

HRESULT CZTComModule::Init(const ClassEntry* classMap, std::size_t classCount, HINSTANCE instance) {
    ZTTraceNS::CTraceScope scope("CZTComModule::Init");
    return Guarded(scope, [&] {
        classMap_ = classMap;
        classCount_ = classCount;
        locks_ = 0;
        modulePath_ = ModuleFileName(instance);
        if (modulePath_.empty()) ThrowLastError();
    });
}

void CZTComModule::Term() {
    classMap_ = nullptr;
    classCount_ = 0;
}

HRESULT CZTComModule::GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (std::size_t i = 0; i < classCount_; ++i) {
        if (::IsEqualCLSID(clsid, *classMap_[i].clsid)) return classMap_[i].getClassObject(iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CZTComModule::RegisterServer() const {
    return UpdateRegistry("CZTComModule::RegisterServer", true);
}

HRESULT CZTComModule::UnRegisterServer() const {
    return UpdateRegistry("CZTComModule::UnRegisterServer", false);
}

HRESULT CZTComModule::UpdateRegistry(const char* scopeName, bool doRegister) const {
    ZTTraceNS::CTraceScope scope(scopeName);
    return Guarded(scope, [&] {
        for (std::size_t i = 0; i < classCount_; ++i)
            Check(classMap_[i].updateRegistry(doRegister, modulePath_));
    });
}
