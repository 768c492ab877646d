// The shared libraries inside a DLL that another program loads, as Explorer loads the shell
// plug-in: strings, the product name, the settings library and the module's folder must all
// be the DLL's, never the host's.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "registry_backup.h"
#include "test_support.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zentaro\\Settings";
constexpr wchar_t kApplicationsKey[] = L"SOFTWARE\\Zentaro\\Applications";

using ProbeFn = int(WINAPI*)(int, wchar_t*, int);

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The plug-in and the settings library it finds beside itself live in a folder of their
        // own; the host's folder has neither.
        for (const wchar_t* name : {L"module_probe.dll", L"ZtoSet.dll"}) {
            ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"plugin\\" + name).c_str(),
                                    plugin_.Path(name).c_str(), FALSE));
        }
        // Without a programs folder in the registry the settings library is looked for beside
        // the module.
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kApplicationsKey);
        SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, L"zt_module_probe", L"from the plug-in's folder");
        library_.reset(::LoadLibraryW(plugin_.Path(L"module_probe.dll").c_str()));
        ASSERT_TRUE(library_);
        probe_ = reinterpret_cast<ProbeFn>(
            reinterpret_cast<void*>(::GetProcAddress(library_.get(), "ProbeModule")));
        ASSERT_NE(probe_, nullptr);
    }

    std::wstring Ask(int what) const {
        wchar_t answer[MAX_PATH] = {};
        probe_(what, answer, MAX_PATH);
        return answer;
    }

    RegistryBackup applications_{HKEY_LOCAL_MACHINE, kApplicationsKey};
    RegistryValueBackup setting_{HKEY_CURRENT_USER, kSettingsKey, L"zt_module_probe"};
    TempFolder plugin_;
    Library library_;
    ProbeFn probe_ = nullptr;
};

TEST_F(ModuleTest, APlugInFindsItsOwnFolderStringsAndSettingsLibrary) {
    EXPECT_EQ(Ask(0), plugin_.Path() + L"\\");
    EXPECT_EQ(Ask(1), L"plug-in text of Plug-in Product");
    EXPECT_EQ(Ask(2), L"from the plug-in's folder");
}

}  // namespace
