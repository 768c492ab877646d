#include <gtest/gtest.h>

#include <windows.h>

#include "win/system_library.h"
#include "win/this_module.h"

namespace {

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

TEST(SystemLibrary, ComesFromTheSystemFolder) {
    const Library library = LoadSystemLibrary(L"sfc.dll");
    ASSERT_TRUE(library);
    const std::wstring path = ModuleFileName(library.get());
    EXPECT_EQ(::CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str(), -1,
                               (SystemFolder() + L"\\sfc.dll").c_str(), -1),
              CSTR_EQUAL)
        << path;
}

// A library of that name beside the program, where a bare name would find it, is not taken.
TEST(SystemLibrary, ALibraryBesideTheProgramIsNotTaken) {
    const Library beside(::LoadLibraryW(TEXT(FAKE_PROVIDER_DLL)));
    ASSERT_TRUE(beside) << "the stand-in library is not beside the tests";
    EXPECT_FALSE(LoadSystemLibrary(TEXT(FAKE_PROVIDER_DLL)));
}

}  // namespace

namespace {

// The runtime reaches GetTickCount64 through the slot win/runtime_imports.cpp fills; through
// it the count must agree with the system's own.
TEST(RuntimeImports, TheTickCountThroughTheFilledSlotIsTheSystems) {
    const DWORD before = ::GetTickCount();
    const ULONGLONG through = ::GetTickCount64();
    const DWORD after = ::GetTickCount();
    EXPECT_LE(static_cast<DWORD>(through) - before, after - before + 16);
}

}  // namespace
