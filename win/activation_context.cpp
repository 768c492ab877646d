#include "win/activation_context.h"

#include "win/this_module.h"

namespace {

ActivationContext MakeModuleContext(HMODULE module) {
    ACTCTXW description{};
    description.cbSize = sizeof description;
    description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.hModule = module;
    description.lpResourceName = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
    return ActivationContext(::CreateActCtxW(&description));
}

}  // namespace

HANDLE ThisModuleActivationContext() {
    // Made once, on first use rather than while the module loads, when the loader lock would
    // be held; the static's end releases it as the module unloads.
    static const ActivationContext context = MakeModuleContext(ThisModule());
    return context ? context.get() : INVALID_HANDLE_VALUE;
}

CActivationScope::CActivationScope(HANDLE context) {
    if (context != INVALID_HANDLE_VALUE && context) active_ = ::ActivateActCtx(context, &cookie_) != FALSE;
}

CActivationScope::~CActivationScope() {
    if (active_) ::DeactivateActCtx(0, cookie_);
}
