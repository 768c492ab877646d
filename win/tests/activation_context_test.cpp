#include <gtest/gtest.h>

#include <windows.h>

#include "win/activation_context.h"

// The tests carry the Common Controls 6 manifest as resource 2, as the plug-ins do, and no
// process manifest: outside a scope the process gets the system's default controls.

namespace {

// The context active on this thread now, null for the process default.
ActivationContext CurrentContext() {
    HANDLE current = nullptr;
    EXPECT_TRUE(::GetCurrentActCtx(&current));
    return ActivationContext(current);
}

// The context that sends a call naming "comctl32.dll" to a side-by-side assembly (Common
// Controls 6), or null where the call reaches the system folder's copy. (Wine's comctl32 gives
// its version as 5.81 in both places, so its version cannot tell them apart.)
ActivationContext CommonControlsRedirection() {
    ACTCTX_SECTION_KEYED_DATA found{};
    found.cbSize = sizeof found;
    if (!::FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                    ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &found))
        return {};
    return ActivationContext(found.hActCtx);
}

TEST(ActivationScope, ActivatesTheModulesManifestUntilItEnds) {
    const HANDLE module = ThisModuleActivationContext();
    ASSERT_NE(module, INVALID_HANDLE_VALUE) << "no manifest resource 2 in the tests";
    EXPECT_EQ(module, ThisModuleActivationContext()) << "made once";
    const HANDLE before = CurrentContext().get();
    EXPECT_NE(before, module);
    EXPECT_FALSE(CommonControlsRedirection());
    {
        const CActivationScope scope;
        EXPECT_EQ(CurrentContext().get(), module);
        EXPECT_EQ(CommonControlsRedirection().get(), module);
    }
    EXPECT_EQ(CurrentContext().get(), before);
    EXPECT_FALSE(CommonControlsRedirection());
}

TEST(ActivationScope, EndsWhenLeftByAnException) {
    const HANDLE before = CurrentContext().get();
    try {
        const CActivationScope scope;
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(CurrentContext().get(), before);
}

// Without a context (a module without the manifest) the scope changes nothing.
TEST(ActivationScope, WithoutAContextActivatesNothing) {
    const HANDLE before = CurrentContext().get();
    const CActivationScope scope(INVALID_HANDLE_VALUE);
    EXPECT_EQ(CurrentContext().get(), before);
}

}  // namespace
