// The plug-in's COM server loaded into the test's process as COM loads it: its class object,
// its life count, and what its commands answer to bad requests.
#include <gtest/gtest.h>

#include <windows.h>
// shellapi.h and shlobj.h need windows.h first.
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "shellext_fixture.h"
#include "win/com_apartment.h"
#include "win/com_ptr.h"
#include "win/unique_handle.h"
#include "window_creation.h"

namespace {

constexpr CLSID kClsid = {0x18154541, 0x0F1A, 0x11D5, {0x87, 0xC1, 0x00, 0x01, 0x02, 0x42, 0xD7, 0xFF}};

using CanUnloadFn = HRESULT(WINAPI*)();
using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

class ModuleTest : public ShellExtTest {
protected:
    void SetUp() override {
        ShellExtTest::SetUp();
        library_.reset(::LoadLibraryW(Installed(kPlugInName).c_str()));
        ASSERT_TRUE(library_);
        canUnload_ = reinterpret_cast<CanUnloadFn>(
            reinterpret_cast<void*>(::GetProcAddress(library_.get(), "DllCanUnloadNow")));
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(
            reinterpret_cast<void*>(::GetProcAddress(library_.get(), "DllGetClassObject")));
        ASSERT_TRUE(canUnload_ && getClassObject_);
        ASSERT_EQ(getClassObject_(kClsid, IID_IClassFactory, factory_.put_void()), S_OK);
        ASSERT_EQ(factory_->CreateInstance(nullptr, IID_IContextMenu, menu_.put_void()), S_OK);
    }

    CComApartment com_;
    Library library_;
    CanUnloadFn canUnload_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    ComPtr<IClassFactory> factory_;
    ComPtr<IContextMenu> menu_;
};

// The class table, aggregation and the lock count are the COM kit's, tested with it; here only
// that the plug-in's exports answer through them.
TEST_F(ModuleTest, TheLibraryServesOnlyItsClassAndMayUnloadOnceNothingIsLeft) {
    ComPtr<IUnknown> other;
    EXPECT_EQ(getClassObject_(IID_IUnknown, IID_IClassFactory, other.put_void()), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(canUnload_(), S_FALSE);
    menu_.reset();
    factory_.reset();
    EXPECT_EQ(canUnload_(), S_OK);
}

TEST_F(ModuleTest, CommandStringsAreWideAndNeverWrittenPastTheBuffer) {
    wchar_t buffer[12];
    const auto ask = [&](UINT_PTR offset, UINT kind, UINT units) {
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        return menu_->GetCommandString(offset, kind, nullptr, reinterpret_cast<CHAR*>(buffer), units);
    };
    EXPECT_EQ(ask(1, GCS_VERBW, 8), S_OK);
    EXPECT_EQ(std::wstring(buffer, 9), std::wstring(L"Encrypt\0#", 9));
    EXPECT_EQ(ask(2, GCS_VERBW, 8), S_OK);
    EXPECT_EQ(std::wstring(buffer), L"Decrypt");
    EXPECT_EQ(ask(1, GCS_VERBW, 7), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::wstring(buffer, 12), std::wstring(12, L'#'));
    EXPECT_EQ(ask(1, GCS_HELPTEXTW, 12), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::wstring(buffer, 12), std::wstring(12, L'#'));
    for (UINT kind : {GCS_VERBA, GCS_HELPTEXTA, GCS_VALIDATEA})
        EXPECT_EQ(ask(1, kind, 12), E_INVALIDARG) << kind;
    for (UINT_PTR offset : {0u, 3u}) {
        EXPECT_EQ(ask(offset, GCS_VERBW, 12), E_INVALIDARG) << offset;
        EXPECT_EQ(ask(offset, GCS_HELPTEXTW, 12), E_INVALIDARG) << offset;
    }
    EXPECT_EQ(ask(7, GCS_VALIDATEW, 12), S_OK);
}

// On 64-bit, a verb above 4 GiB may have bits 16 to 31 clear: only the whole pointer tells it
// from an offset.
TEST_F(ModuleTest, AVerbIsAVerbWhereverItLies) {
    if (sizeof(void*) == 4) GTEST_SKIP() << "a 32-bit pointer to a verb is never below 64 KiB";
    void* page = ::VirtualAlloc(reinterpret_cast<void*>(static_cast<std::uintptr_t>(std::uint64_t{1} << 32)),
                                4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(page, nullptr) << "no page at 4 GiB";
    std::strcpy(static_cast<char*>(page), "Encrypt");
    CMINVOKECOMMANDINFO invocation{};
    invocation.cbSize = sizeof invocation;
    invocation.fMask = CMIC_MASK_FLAG_NO_UI;
    invocation.lpVerb = static_cast<const char*>(page);

    EXPECT_NE(menu_->InvokeCommand(&invocation), E_INVALIDARG);

    ::VirtualFree(page, 0, MEM_RELEASE);
}

TEST_F(ModuleTest, OnlyTheExactVerbsAndTheirOffsetsAreCommands) {
    CMINVOKECOMMANDINFO invocation{};
    invocation.cbSize = sizeof invocation;
    invocation.fMask = CMIC_MASK_FLAG_NO_UI;
    for (const char* verb : {"encrypt", "ENCRYPT", "Encrypted", "Encryp", "", "decrypt"}) {
        invocation.lpVerb = verb;
        EXPECT_EQ(menu_->InvokeCommand(&invocation), E_INVALIDARG) << verb;
    }
    for (UINT offset : {0u, 3u, 0xFFFFu}) {
        invocation.lpVerb = MAKEINTRESOURCEA(offset);
        EXPECT_EQ(menu_->InvokeCommand(&invocation), E_INVALIDARG) << offset;
    }
}

using ItemList = std::unique_ptr<ITEMIDLIST, decltype(&::CoTaskMemFree)>;

ItemList Parse(IShellFolder& folder, const std::wstring& name) {
    LPITEMIDLIST item = nullptr;
    std::wstring text = name;
    folder.ParseDisplayName(nullptr, nullptr, text.data(), nullptr, &item, nullptr);
    return ItemList(item, &::CoTaskMemFree);
}

// The shell's data object for files of one folder, as Explorer hands it to the plug-in.
ComPtr<IDataObject> SelectionOf(const std::wstring& folderPath, const std::vector<std::wstring>& names) {
    ComPtr<IShellFolder> desktop;
    ComPtr<IShellFolder> folder;
    ComPtr<IDataObject> data;
    EXPECT_EQ(::SHGetDesktopFolder(desktop.put()), S_OK);
    const ItemList folderItem = Parse(*desktop.get(), folderPath);
    EXPECT_EQ(desktop->BindToObject(folderItem.get(), nullptr, IID_IShellFolder, folder.put_void()), S_OK);
    std::vector<ItemList> children;
    std::vector<LPCITEMIDLIST> items;
    for (const std::wstring& name : names) {
        children.push_back(Parse(*folder.get(), name));
        items.push_back(children.back().get());
    }
    EXPECT_EQ(folder->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), items.data(), IID_IDataObject,
                                    nullptr, data.put_void()),
              S_OK);
    return data;
}

// A selection too long to hand to the program is said in a message made with the plug-in's
// Common Controls 6, whatever Explorer's manifest names.
TEST_F(ModuleTest, TheMessageOfATooLongSelectionIsMadeWithCommonControls6) {
    std::vector<std::wstring> names;
    for (int i = 0; i < 150; ++i) {
        names.push_back(std::wstring(180, L'n') + std::to_wstring(i) + L".txt");
        File(names.back());
    }
    ComPtr<IShellExtInit> init;
    ASSERT_EQ(menu_->QueryInterface(IID_IShellExtInit, init.put_void()), S_OK);
    ASSERT_EQ(init->Initialize(nullptr, SelectionOf(selection_, names).get(), nullptr), S_OK);
    CMINVOKECOMMANDINFO invocation{};
    invocation.cbSize = sizeof invocation;
    invocation.lpVerb = "Encrypt";
    const CWindowCreationRecorder recorder(true);
    EXPECT_EQ(menu_->InvokeCommand(&invocation), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    ASSERT_FALSE(CWindowCreationRecorder::Made().empty()) << "no message";
    for (const auto& [window, version6] : CWindowCreationRecorder::Made()) EXPECT_TRUE(version6) << window;
}

}  // namespace
