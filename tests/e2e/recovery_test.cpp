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

ProcessRun RunRecoveryProgram(const std::wstring& arguments = L"") {
    return ProcessRun(Quoted(RecoveryPath()) + (arguments.empty() ? L"" : L" " + arguments));
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

std::wstring Driven(const std::wstring& arguments) {
    UiDriver driver(L"--timeout 20000 " + arguments);
    std::string output;
    EXPECT_EQ(driver.Finish(output), 0u) << output;
    return std::wstring(output.begin(), output.end());
}

// The recovery's password dialog, the one window with only the password field.
const std::wstring kPasswordDialog = L"--controls " + std::to_wstring(IDC_PASSWORD) + L" ";

void TypePassword(const std::wstring& password) {
    Driven(kPasswordDialog + L"--set " + std::to_wstring(IDC_PASSWORD) + L" " + Quoted(password) +
           L" --click " + std::to_wstring(IDOK) + L" --gone");
}

std::wstring Lower(std::wstring text) {
    std::ranges::transform(text, text.begin(),
                           [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

// The names of the modules loaded in the process, in lower case.
std::set<std::wstring> LoadedModules(DWORD processId) {
    std::set<std::wstring> names;
    const KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot) return names;
    MODULEENTRY32W module{};
    module.dwSize = sizeof(module);
    for (BOOL more = ::Module32FirstW(snapshot.get(), &module); more;
         more = ::Module32NextW(snapshot.get(), &module))
        names.insert(Lower(module.szModule));
    return names;
}

class RecoveryTest : public EndToEndTest {
protected:
    // Starts the recovery and chooses the files: the folder first, then the names in it.
    ProcessRun Recover(const std::wstring& folder, std::initializer_list<std::wstring> names,
                       const std::wstring& arguments = L"") {
        ProcessRun run = RunRecoveryProgram(arguments);
        ChooseInOpenDialog(RecoveryText(IDS_CHOOSE_FILES), folder, QuotedNames(names));
        return run;
    }

    // Files of the folder, encrypted by ZTFileEn with the password chosen on first use.
    std::wstring EncryptedFolder(const std::wstring& name, std::initializer_list<std::wstring> files) {
        const std::wstring folder = Folder(name);
        std::uint8_t seed = 1;
        for (const std::wstring& file : files) {
            const std::wstring path = File(name + L"\\" + file, PatternBytes(2500 * seed, seed));
            originals_[path] = ReadFileBytes(path);
            ++seed;
        }
        Encrypt(folder);
        for (const auto& [path, content] : originals_) EXPECT_TRUE(IsEncrypted(path)) << path.c_str();
        return folder;
    }

    void ExpectRecovered() const {
        for (const auto& [path, content] : originals_) {
            EXPECT_EQ(ReadFileBytes(path), content) << path.c_str();
            EXPECT_FALSE(FileExists(path + L".zte")) << path.c_str();
        }
    }

    // The encrypted files as they are now, to compare after a run that must not change them.
    std::map<std::wstring, Bytes> EncryptedFiles() const {
        std::map<std::wstring, Bytes> files;
        for (const auto& [path, content] : originals_) files[path + L".zte"] = ReadFileBytes(path + L".zte");
        return files;
    }

    void ExpectUnchanged(const std::map<std::wstring, Bytes>& encrypted) const {
        for (const auto& [path, bytes] : encrypted) {
            EXPECT_EQ(ReadFileBytes(path), bytes) << path.c_str();
            EXPECT_FALSE(FileExists(path.substr(0, path.size() - 4))) << path.c_str();
        }
    }

    std::map<std::wstring, Bytes> originals_;
};

TEST_F(RecoveryTest, FilesEncryptedByZTFileEnComeBackWithThePasswordAloneAndTheStoreStaysAsItWas) {
    const std::wstring folder = EncryptedFolder(L"documents", {L"letter.txt", L"photo.jpg", L"table.xls"});
    store_.WriteStore("<ZTFileProtectionConfig><DecryptedItems/></ZTFileProtectionConfig>");
    const std::string store = store_.ReadStore();

    const ProcessRun run = Recover(folder, {L"letter.txt.zte", L"photo.jpg.zte", L"table.xls.zte"});
    TypePassword(kFirstUsePassword);

    // Nothing to report: no report dialog holds the program open.
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    ExpectRecovered();
    EXPECT_EQ(store_.ReadStore(), store);
}

// A user without Windows encrypted a file with ztrec; on Windows the recovery program opens it
// with the same password.
TEST_F(RecoveryTest, AFileThatZtrecWroteComesBackWithTheSamePassword) {
    const std::wstring folder = Folder(L"from linux");
    const std::wstring plain = File(L"from linux\\notes.txt", PatternBytes(3000, 9));
    const Bytes original = ReadFileBytes(plain);
    WriteFileBytes(folder_.Path(L"password.txt"), Bytes{'t', 'r', 'a', 'v', 'e', 'l', '\n'});
    std::string output;
    ASSERT_EQ(CapturedRun(L"ztrec.exe", L"encrypt --wipe --password-file " +
                                            Quoted(folder_.Path(L"password.txt")) + L" " + Quoted(plain))
                  .Finish(output),
              0u)
        << output;
    ASSERT_FALSE(FileExists(plain));

    const ProcessRun run = Recover(folder, {L"notes.txt.zte"});
    TypePassword(L"travel");

    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_EQ(ReadFileBytes(plain), original);
    EXPECT_FALSE(FileExists(plain + L".zte"));
}

// The program reads no arguments: a path given on its command line is not decrypted.
TEST_F(RecoveryTest, StartedWithArgumentsItStillDecryptsOnlyWhatIsChosenInTheDialog) {
    const std::wstring folder = EncryptedFolder(L"chosen", {L"report.doc"});
    const std::wstring other = File(L"other.txt", PatternBytes(100));
    Encrypt(other);
    const Bytes otherEncrypted = ReadFileBytes(other + L".zte");

    const ProcessRun run = RunRecoveryProgram(L"/d " + Quoted(other + L".zte"));
    ChooseInOpenDialog(RecoveryText(IDS_CHOOSE_FILES), folder + L"\\report.doc.zte");
    TypePassword(kFirstUsePassword);

    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    ExpectRecovered();
    EXPECT_EQ(ReadFileBytes(other + L".zte"), otherEncrypted);
    EXPECT_FALSE(FileExists(other));
}

TEST_F(RecoveryTest, AWrongPasswordIsReportedForEveryFileAndChangesNothing) {
    const std::wstring folder = EncryptedFolder(L"kept", {L"a.txt", L"b.txt"});
    const auto encrypted = EncryptedFiles();

    const ProcessRun run = Recover(folder, {L"a.txt.zte", L"b.txt.zte"});
    TypePassword(L"not the password");

    const std::wstring report = ReadReport();
    for (const auto& [path, bytes] : encrypted)
        EXPECT_NE(report.find(ReportEntry(IDS_WRONG_KEY, path)), std::wstring::npos) << report;
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    ExpectUnchanged(encrypted);
}

TEST_F(RecoveryTest, CancellingThePasswordDialogSaysSoAndTouchesNothing) {
    const std::wstring folder = EncryptedFolder(L"cancelled", {L"a.txt"});
    const auto encrypted = EncryptedFiles();

    const ProcessRun run = Recover(folder, {L"a.txt.zte"});
    Driven(kPasswordDialog + L"--click " + std::to_wstring(IDCANCEL) + L" --gone");

    EXPECT_EQ(ReadMessageBox(RecoveryText(IDS_MESSAGE_CAPTION)), RecoveryText(IDS_PASSWORD_CANCELLED));
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    ExpectUnchanged(encrypted);
}

TEST_F(RecoveryTest, AnEmptyPasswordIsRefusedAndTheDialogStaysForTheRightOne) {
    const std::wstring folder = EncryptedFolder(L"empty", {L"a.txt"});

    const ProcessRun run = Recover(folder, {L"a.txt.zte"});
    Driven(kPasswordDialog + L"--click " + std::to_wstring(IDOK));

    EXPECT_EQ(ReadMessageBox(RecoveryText(IDS_MESSAGE_CAPTION)), RecoveryText(IDS_PASSWORD_EMPTY));
    TypePassword(kFirstUsePassword);
    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    ExpectRecovered();
}

// Without CryptoAPI's providers no secret can be made: the user is told, with the code.
TEST_F(RecoveryTest, WhenNoSecretCanBeMadeTheMessageGivesTheCodeAndNothingIsTouched) {
    const std::wstring folder = EncryptedFolder(L"noprovider", {L"a.txt"});
    const auto encrypted = EncryptedFiles();
    const std::wstring providers = L"SOFTWARE\\Microsoft\\Cryptography\\Defaults\\Provider\\";
    RegistryValueBackup enhanced(HKEY_LOCAL_MACHINE, providers + MS_ENHANCED_PROV_W, L"Image Path");
    RegistryValueBackup base(HKEY_LOCAL_MACHINE, providers + MS_DEF_PROV_W, L"Image Path");
    for (const wchar_t* name : {MS_ENHANCED_PROV_W, MS_DEF_PROV_W})
        SetRegistryString(HKEY_LOCAL_MACHINE, providers + name, L"Image Path", L"missing-provider.dll");

    const ProcessRun run = Recover(folder, {L"a.txt.zte"});
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
    ExpectUnchanged(encrypted);
}

TEST_F(RecoveryTest, CancellingTheOpenDialogEndsWithoutAMessage) {
    const ProcessRun run = RunRecoveryProgram();
    Driven(L"--title " + Quoted(RecoveryText(IDS_CHOOSE_FILES)) + L" --click " + std::to_wstring(IDCANCEL) +
           L" --gone");
    // A message box would hold the program open.
    EXPECT_TRUE(run.EndsWithin(kIdleRunEndsMs));
}

// A file another installation wrote with the compatibility key comes back too; a plain file
// chosen by mistake is left as it is, without a word.
TEST_F(RecoveryTest, ACompatibilityKeyFileIsRecoveredAndAPlainFileChosenByMistakeIsLeftAlone) {
    const Bytes plain = PatternBytes(3000, 9);
    const std::wstring old =
        File(L"old.zte", PortableEncrypt(u"old.txt", plain, 2, PasswordSecret(kFirstUsePassword)));
    const Bytes notes = PatternBytes(700, 3);
    const std::wstring mistaken = File(L"notes.txt", notes);

    const ProcessRun run = Recover(folder_.Path(), {L"old.zte", L"notes.txt"});
    TypePassword(kFirstUsePassword);

    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    EXPECT_EQ(ReadFileBytes(folder_.Path(L"old.txt")), plain);
    EXPECT_FALSE(FileExists(old));
    EXPECT_EQ(ReadFileBytes(mistaken), notes);
}

// Whatever the user picks, the fingerprint and verification libraries stay out of the
// process, although they sit beside the program: neither imported nor loaded on the way.
TEST_F(RecoveryTest, TheFingerprintAndVerificationLibrariesAreNeverLoaded) {
    ASSERT_TRUE(FileExists(TestProgramFolder() + L"ZTFPApi.dll"));
    ASSERT_TRUE(FileExists(TestProgramFolder() + L"ZTSDApi.dll"));
    const std::wstring folder = EncryptedFolder(L"modules", {L"a.txt"});

    const ProcessRun run = Recover(folder, {L"a.txt.zte"});
    TypePassword(L"not the password");
    // The report is up: the whole run is behind the program.
    Driven(L"--controls " + std::to_wstring(IDC_REPORT_TEXT));
    const std::set<std::wstring> modules = LoadedModules(run.Id());
    ReadReport();

    ASSERT_TRUE(run.EndsWithin(kRunEndsMs));
    // The list is the real one: the dialogs' and the cipher's modules are in it.
    EXPECT_TRUE(modules.contains(L"ztrecdsk.exe"));
    EXPECT_TRUE(modules.contains(L"comdlg32.dll"));
    EXPECT_TRUE(modules.contains(L"rsaenh.dll"));
    EXPECT_FALSE(modules.contains(L"ztfpapi.dll"));
    EXPECT_FALSE(modules.contains(L"ztsdapi.dll"));
}

}  // namespace
