// The trace cleanup the plug-in runs as it loads, each case in a fresh process that loads the
// real ZTFileProtect.dll, against a test trace folder; and the WININIT.INI edit of systems
// before NT on a file in a test folder.
#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "dashboard/trace/trace_cleanup.h"
#include "dashboard_test.h"
#include "process_run.h"

namespace {

constexpr wchar_t kTracing[] = L"SOFTWARE\\Zentaro\\Tracing";
constexpr wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingRenames[] = L"PendingFileRenameOperations";
constexpr wchar_t kCleanupMutex[] = L"{32FA2EA5-DF93-459d-8F49-C1DC80404214}";
constexpr DWORD kDay = 24 * 60 * 60;

std::wstring Upper(std::wstring text) {
    ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The files the system is to delete at the next restart, upper-cased without their "\??\".
std::set<std::wstring> PendingDeletions() {
    std::set<std::wstring> files;
    RegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return files;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key.get(), kPendingRenames, nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
        return files;
    }
    std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key.get(), kPendingRenames, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                       &bytes);
    // Pairs of source and target; an empty target means deletion.
    std::vector<std::wstring> entries;
    for (std::size_t start = 0; start < data.size();) {
        const std::size_t end = data.find(L'\0', start);
        entries.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
        if (entries[i].empty() || !entries[i + 1].empty()) continue;
        const std::wstring& source = entries[i];
        files.insert(Upper(source.starts_with(L"\\??\\") ? source.substr(4) : source));
    }
    return files;
}

DWORD SecondsFromNow(long long delta) {
    return static_cast<DWORD>(static_cast<long long>(std::time(nullptr)) + delta);
}

class TraceCleanupTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTracing);
        SetRegistryString(HKEY_LOCAL_MACHINE, kTracing, L"TracePath", L"  " + traces_.Path() + L"  ");
        RegKey key = CreateRegistryKey(HKEY_LOCAL_MACHINE, kSessionManager);
        ::RegDeleteValueW(key.get(), kPendingRenames);
        for (const wchar_t* name : {L"ZTFileEn.ZTFileEn.exe.1.trc3", L"other.trc3", L"notes.txt"}) {
            WriteFileBytes(traces_.Path(name), PatternBytes(20));
        }
    }

    // Loads the plug-in in a process of its own, as the dashboard starts.
    static void LoadPlugInFresh() {
        ProcessRun load(Quoted(TestProgramFolder() + L"dashboard_helper.exe") + L" load " +
                        Quoted(TestProgramFolder() + L"ZTFileProtect.dll"));
        ASSERT_EQ(load.Finish(), 0u);
    }
    std::set<std::wstring> TraceFiles() const {
        return {Upper(traces_.Path(L"ZTFileEn.ZTFileEn.exe.1.trc3")), Upper(traces_.Path(L"other.trc3"))};
    }
    std::set<std::wstring> PendingInTraceFolder() const {
        std::set<std::wstring> inFolder;
        for (const std::wstring& file : PendingDeletions()) {
            if (file.starts_with(Upper(traces_.Path()))) inFolder.insert(file);
        }
        return inFolder;
    }
    static std::optional<DWORD> Switch() {
        RegKey key;
        DWORD value = 0;
        DWORD size = sizeof value;
        DWORD type = 0;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTracing, 0, KEY_READ, key.put()) != ERROR_SUCCESS ||
            ::RegQueryValueExW(key.get(), L"DoTrace", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return value;
    }

    RegistryBackup tracing_{HKEY_LOCAL_MACHINE, kTracing};
    RegistryValueBackup pending_{HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames};
    TempFolder traces_;
};

TEST_F(TraceCleanupTest, AnExpiredSwitchIsRemovedAndEveryTraceFileGoesAtRestart) {
    SetRegistryDword(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace", SecondsFromNow(-static_cast<long long>(kDay)));
    LoadPlugInFresh();
    EXPECT_EQ(Switch(), std::nullopt);
    EXPECT_EQ(PendingInTraceFolder(), TraceFiles());
}

TEST_F(TraceCleanupTest, TracingWithoutEndOrUntilTomorrowCleansNothing) {
    for (DWORD value : {DWORD{1}, SecondsFromNow(kDay)}) {
        SetRegistryDword(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace", value);
        LoadPlugInFresh();
        EXPECT_EQ(Switch(), value);
        EXPECT_TRUE(PendingInTraceFolder().empty()) << value;
    }
}

TEST_F(TraceCleanupTest, WithoutASwitchOfItsTypeNothingIsCleaned) {
    LoadPlugInFresh();
    EXPECT_TRUE(PendingInTraceFolder().empty()) << "no switch";
    SetRegistryString(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace", L"0");
    LoadPlugInFresh();
    EXPECT_TRUE(PendingInTraceFolder().empty()) << "a string switch";
    EXPECT_EQ(ReadRegistryText(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace"), L"0");
}

TEST_F(TraceCleanupTest, ANamedTraceFileCleansTheFilesOfItsFolderAndExtension) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kTracing, L"FileName", L" " + traces_.Path(L"mine.txt") + L" ");
    SetRegistryDword(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace", 0);
    LoadPlugInFresh();
    EXPECT_EQ(PendingInTraceFolder(), std::set<std::wstring>{Upper(traces_.Path(L"notes.txt"))});
}

TEST_F(TraceCleanupTest, AnotherProcessCleaningUpAtTheSameTimeIsLeftToIt) {
    const KernelHandle mutex(::CreateMutexW(nullptr, TRUE, kCleanupMutex));
    ASSERT_TRUE(mutex);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace", 0);
    LoadPlugInFresh();
    EXPECT_EQ(Switch(), std::nullopt) << "the switch is removed before the files are looked at";
    EXPECT_TRUE(PendingInTraceFolder().empty());
    ::ReleaseMutex(mutex.get());
}

std::string ShortPath(const std::wstring& path) {
    char shortPath[MAX_PATH] = {};
    char longPath[MAX_PATH] = {};
    ::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, longPath, MAX_PATH, nullptr, nullptr);
    ::GetShortPathNameA(longPath, shortPath, MAX_PATH);
    return shortPath;
}

std::string FileText(const std::wstring& path) {
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(WininitTest, LinesGoIntoAnExistingRenameSectionAndTheFileGrowsByThem) {
    TempFolder folder;
    const std::wstring trace = folder.Path(L"a long trace name.trc3");
    WriteFileBytes(trace, PatternBytes(4));
    const std::wstring ini = folder.Path(L"WININIT.INI");
    const std::string before = "[Boot]\r\nx=1\r\n[Rename]\r\nNUL=C:\\OLD.TMP\r\n";
    WriteFileBytes(ini, Bytes(before.begin(), before.end()));
    tracecore::ScheduleInWininit(ini, {trace});
    EXPECT_EQ(FileText(ini),
              "[Boot]\r\nx=1\r\n[Rename]\r\nNUL=" + ShortPath(trace) + "\r\nNUL=C:\\OLD.TMP\r\n");
}

TEST(WininitTest, AMissingFileIsMadeWithTheSection) {
    TempFolder folder;
    const std::wstring first = folder.Path(L"one.trc3");
    const std::wstring second = folder.Path(L"two.trc3");
    WriteFileBytes(first, PatternBytes(4));
    WriteFileBytes(second, PatternBytes(4));
    const std::wstring ini = folder.Path(L"WININIT.INI");
    tracecore::ScheduleInWininit(ini, {first, second});
    EXPECT_EQ(FileText(ini), "[rename]\r\nNUL=" + ShortPath(first) + "\r\nNUL=" + ShortPath(second) + "\r\n");
}

}  // namespace
