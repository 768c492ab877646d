#pragma once
#include <windows.h>

#include "win/unique_handle.h"

// Activation contexts: which versions of side-by-side assemblies (above all Common
// Controls 6, which draws the controls in the system's visual style) a thread's calls reach.
// A plug-in lives in a host whose process manifest is not ours, so it carries its own
// manifest as resource 2 and makes its windows with that manifest active.

namespace handle_detail {
inline void ReleaseActivationContext(HANDLE context) {
    ::ReleaseActCtx(context);
}
}  // namespace handle_detail
using ActivationContext = UniqueHandle<InvalidValueTraits<handle_detail::ReleaseActivationContext>>;

// The context of the manifest that resource 2 (ISOLATIONAWARE_MANIFEST_RESOURCE_ID) of the
// module holding this code describes, made at the first call and released when the module
// unloads. INVALID_HANDLE_VALUE when the module has no such manifest or the system cannot
// make the context: the calls then reach what the host's own manifest gives it.
HANDLE ThisModuleActivationContext();

// Activates a context for as long as the scope lasts, on the thread that made the scope, and
// deactivates it at the end, even when the scope is left by an exception. An
// INVALID_HANDLE_VALUE context activates nothing.
class CActivationScope {
public:
    explicit CActivationScope(HANDLE context = ThisModuleActivationContext());
    ~CActivationScope();
    CActivationScope(const CActivationScope&) = delete;
    CActivationScope& operator=(const CActivationScope&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};
