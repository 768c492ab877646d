// The real ZTRecDsk.exe as a user who lost the verification path runs it: files chosen by
// typing into its open-file dialog, the password typed into its password dialog, and what
// comes back. Its texts are read from the program itself.
#include <windows.h>

#include <tlhelp32.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>

#include "dialog_answers.h"
#include "end_to_end_test.h"
#include "engine_test.h"
#include "process_run.h"
#include "recovery/resources/resource_ids.h"
#include "registry_backup.h"
#include "text/res_string.h"
#include "text/resource_module.h"

namespace {

std::wstring RecoveryPath() {
    return TestProgramFolder() + L"ZTRecDsk.exe";
}

// A text of the recovery program, with the product's name put in as the program puts it in.
std::wstring RecoveryText(UINT id) {
    const Library program(::LoadLibraryExW(RecoveryPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_TRUE(program) << "cannot read the texts of ZTRecDsk.exe";
    SetResourceModule(program.get());
    std::wstring text = LoadResString(id);
    SetResourceModule(nullptr);
    return text;
}

// The recovery's password dialog, the one window with only the password field, answered.
void TypePassword(const std::wstring& password) {
    UiDriver driver(L"--timeout 20000 --controls " + std::to_wstring(IDC_PASSWORD) + L" --set " +
                    std::to_wstring(IDC_PASSWORD) + L" " + Quoted(password) + L" --click " +
                    std::to_wstring(IDOK) + L" --gone");
    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
}

// The names of the modules loaded in the process, in lower case.
std::set<std::wstring> LoadedModules(DWORD processId) {
    std::set<std::wstring> names;
    const KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot) return names;
    MODULEENTRY32W module{};
    module.dwSize = sizeof(module);
    for (BOOL more = ::Module32FirstW(snapshot.get(), &module); more;
         more = ::Module32NextW(snapshot.get(), &module)) {
        std::wstring name = module.szModule;
        std::ranges::transform(name, name.begin(),
                               [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
        names.insert(name);
    }
    return names;
}

// Starts the recovery with the arguments and chooses the files: the folder, then the names.
ProcessRun Recover(const std::wstring& folder, std::initializer_list<std::wstring> names,
                   const std::wstring& arguments = L"") {
    ProcessRun run(Quoted(RecoveryPath()) + L" " + arguments);
    ChooseInOpenDialog(RecoveryText(IDS_CHOOSE_FILES), QuotedNames(names), folder);
    return run;
}

using RecoveryTest = EndToEndTest;

// Files ZTFileEn encrypted come back with the password alone, and so does a sealed file; one of
// another secret is
// reported and kept; a path on the command line is not decrypted, since the program reads no
// arguments; the decrypted-items store stays as it was. The fingerprint and verification
// libraries stay out of the process, although they sit beside the program.
TEST_F(RecoveryTest, FilesComeBackWithThePasswordAloneAndOnlyTheChosenOnesWithoutTheLibraries) {
    ASSERT_TRUE(FileExists(TestProgramFolder() + L"ZTFPApi.dll"));
    ASSERT_TRUE(FileExists(TestProgramFolder() + L"ZTSDApi.dll"));
    // Files encrypted by ZTFileEn with the password chosen on first use.
    const std::wstring folder = Folder(L"documents");
    const std::map<std::wstring, Bytes> originals = {
        {File(L"documents\\letter.txt", PatternBytes(2500, 1)), PatternBytes(2500, 1)},
        {File(L"documents\\photo.jpg", PatternBytes(5000, 2)), PatternBytes(5000, 2)}};
    Encrypt(folder);
    for (const auto& [path, content] : originals) ASSERT_TRUE(IsEncrypted(path)) << path.c_str();
    const Bytes foreign = PortableEncrypt(u"foreign.txt", PatternBytes(900), 1, kOtherSecret);
    const std::wstring foreignPath = File(L"documents\\foreign.txt.zte", foreign);
    const Bytes named =
        PortableEncrypt(u"named.txt", PatternBytes(100), 1, PasswordSecret(kFirstUsePassword));
    const std::wstring namedPath = File(L"named.txt.zte", named);
    const Bytes sealedContent = PatternBytes(70000, 3);
    const std::wstring sealedPath =
        File(L"documents\\sealed.txt.zte",
             PortableSeal("sealed.txt", sealedContent, PasswordSecret(kFirstUsePassword)));
    store_.WriteStore("<ZTFileProtectionConfig><DecryptedItems/></ZTFileProtectionConfig>");
    const std::string store = store_.ReadStore();

    const ProcessRun run =
        Recover(folder, {L"letter.txt.zte", L"photo.jpg.zte", L"foreign.txt.zte", L"sealed.txt.zte"},
                L"/d " + Quoted(namedPath));
    TypePassword(kFirstUsePassword);
    // The report is up: the whole run is behind the program.
    EXPECT_EQ(UiDriver(L"--timeout 20000 --controls " + std::to_wstring(IDC_REPORT_TEXT)).Finish(), 0u);
    const std::set<std::wstring> modules = LoadedModules(run.Id());
    const std::wstring report = ReadReport();

    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_NE(report.find(ReportEntry(IDS_WRONG_KEY, foreignPath)), std::wstring::npos) << report;
    for (const auto& [path, content] : originals) {
        EXPECT_EQ(ReadFileBytes(path), content) << path.c_str();
        EXPECT_FALSE(FileExists(path + L".zte")) << path.c_str();
    }
    EXPECT_EQ(ReadFileBytes(folder + L"\\sealed.txt"), sealedContent);
    EXPECT_FALSE(FileExists(sealedPath));
    EXPECT_EQ(ReadFileBytes(foreignPath), foreign);
    EXPECT_EQ(ReadFileBytes(namedPath), named);
    EXPECT_EQ(store_.ReadStore(), store);
    // The list is the real one: the dialogs' and the cipher's modules are in it.
    for (const wchar_t* loaded : {L"ztrecdsk.exe", L"comdlg32.dll", L"rsaenh.dll"})
        EXPECT_TRUE(modules.contains(loaded)) << loaded;
    EXPECT_FALSE(modules.contains(L"ztfpapi.dll"));
    EXPECT_FALSE(modules.contains(L"ztsdapi.dll"));
}

// Without CryptoAPI's providers no secret can be made: the user is told, with the code.
TEST_F(RecoveryTest, WhenNoSecretCanBeMadeTheMessageGivesTheCodeAndNothingIsTouched) {
    const Bytes encrypted =
        PortableEncrypt(u"a.txt", PatternBytes(700), 1, PasswordSecret(kFirstUsePassword));
    const std::wstring file = File(L"a.txt.zte", encrypted);
    const std::wstring providers = L"SOFTWARE\\Microsoft\\Cryptography\\Defaults\\Provider\\";
    RegistryValueBackup enhanced(HKEY_LOCAL_MACHINE, providers + MS_ENHANCED_PROV_W, L"Image Path");
    RegistryValueBackup base(HKEY_LOCAL_MACHINE, providers + MS_DEF_PROV_W, L"Image Path");
    for (const wchar_t* name : {MS_ENHANCED_PROV_W, MS_DEF_PROV_W})
        SetRegistryString(HKEY_LOCAL_MACHINE, providers + name, L"Image Path", L"missing-provider.dll");

    const ProcessRun run = Recover(folder_.Path(), {L"a.txt.zte"});
    TypePassword(kFirstUsePassword);

    const std::wstring message = ReadMessageBox(RecoveryText(IDS_MESSAGE_CAPTION));
    const std::wstring format = RecoveryText(IDS_SECRET_FAILED);
    const std::size_t code = format.find(L"%08X");
    ASSERT_NE(code, std::wstring::npos);
    ASSERT_EQ(message.size(), format.size() + 4) << message.c_str();
    EXPECT_EQ(message.substr(0, code), format.substr(0, code));
    EXPECT_EQ(message.substr(code + 8), format.substr(code + 4));
    // A failure code: its top bit set.
    EXPECT_GE(std::wcstoul(message.substr(code, 8).c_str(), nullptr, 16), 0x80000000ul) << message.c_str();
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_EQ(ReadFileBytes(file), encrypted);
    EXPECT_FALSE(FileExists(folder_.Path(L"a.txt")));
}

}  // namespace
