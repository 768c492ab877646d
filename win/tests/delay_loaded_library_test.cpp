#include <gtest/gtest.h>

#include "win/delay_loaded_library.h"
#include "win/hresult.h"

namespace {

using TickFn = DWORD(WINAPI*)();

HRESULT BindingResult(const wchar_t* library, const char* entry) {
    CDelayLoadedLibrary bound(library);
    try {
        bound.Entry<TickFn>(entry);
        return S_OK;
    } catch (const HResultError& e) {
        return e.code();
    }
}

}  // namespace

TEST(DelayLoadedLibrary, BindsAnEntryAtItsFirstCall) {
    CDelayLoadedLibrary kernel(L"kernel32.dll");
    EXPECT_NE(kernel.Entry<TickFn>("GetTickCount")(), 0u);
}

TEST(DelayLoadedLibrary, MissingLibraryOrEntryIsRaisedWhenFirstCalled) {
    EXPECT_EQ(BindingResult(L"no_such_library_zt.dll", "Anything"), HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(BindingResult(L"kernel32.dll", "NoSuchEntryZt"), HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
}
