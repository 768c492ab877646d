// The trace cleanup the plug-in runs as it loads, each case in a fresh process that loads the
// real ZTFileProtect.dll, against a test trace folder; and the WININIT.INI edit of systems
// before NT on a file in a test folder. When a switch has expired and where the lines go in
// WININIT.INI are core's own tests.
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

std::wstring Upper(std::wstring text) {
    ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

DWORD SecondsFromNow(long long delta) {
    return static_cast<DWORD>(static_cast<long long>(std::time(nullptr)) + delta);
}

class TraceCleanupTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTracing);
        SetRegistryString(HKEY_LOCAL_MACHINE, kTracing, L"TracePath", L"  " + traces_.Path() + L"  ");
        ::RegDeleteValueW(CreateRegistryKey(HKEY_LOCAL_MACHINE, kSessionManager).get(), kPendingRenames);
        for (const wchar_t* name : {L"ZTFileEn.ZTFileEn.exe.1.trc3", L"other.trc3", L"notes.txt"})
            WriteFileBytes(traces_.Path(name), PatternBytes(20));
    }

    // Loads the plug-in in a process of its own, as the dashboard starts.
    static void LoadPlugInFresh() {
        ProcessRun load(Quoted(TestProgramFolder() + L"dashboard_helper.exe") + L" load " +
                        Quoted(TestProgramFolder() + L"ZTFileProtect.dll"));
        ASSERT_EQ(load.Finish(), 0u);
    }
    // The files of the trace folder the system is to delete at the next restart, upper-cased.
    // The value holds pairs of source ("\??\" and the path) and target, empty for deletion.
    std::set<std::wstring> PendingInTraceFolder() const {
        RegKey key = CreateRegistryKey(HKEY_LOCAL_MACHINE, kSessionManager);
        DWORD bytes = 0;
        ::RegQueryValueExW(key.get(), kPendingRenames, nullptr, nullptr, nullptr, &bytes);
        std::wstring data(bytes / sizeof(wchar_t) + 1, L'\0');
        ::RegQueryValueExW(key.get(), kPendingRenames, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                           &bytes);
        std::set<std::wstring> files;
        const std::wstring folder = L"\\??\\" + Upper(traces_.Path());
        for (std::size_t start = 0; start < data.size();) {
            const std::size_t end = data.find(L'\0', start);
            const std::size_t targetEnd = data.find(L'\0', end + 1);
            if (end == start || targetEnd == std::wstring::npos) break;
            const std::wstring source = Upper(data.substr(start, end - start));
            if (targetEnd == end + 1 && source.starts_with(folder)) files.insert(source.substr(4));
            start = targetEnd + 1;
        }
        return files;
    }
    std::set<std::wstring> TraceFiles() const {
        return {Upper(traces_.Path(L"ZTFileEn.ZTFileEn.exe.1.trc3")), Upper(traces_.Path(L"other.trc3"))};
    }
    static std::optional<DWORD> Switch() {
        return ReadRegistryDword(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace");
    }

    RegistryBackup tracing_{HKEY_LOCAL_MACHINE, kTracing};
    RegistryValueBackup pending_{HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames};
    TempFolder traces_;
};

TEST_F(TraceCleanupTest, AnExpiredSwitchIsRemovedAndEveryTraceFileGoesAtRestart) {
    SetRegistryDword(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace", SecondsFromNow(-24 * 60 * 60));
    LoadPlugInFresh();
    EXPECT_EQ(Switch(), std::nullopt);
    EXPECT_EQ(PendingInTraceFolder(), TraceFiles());
}

// Tomorrow's date is the switch's own local date, which the plug-in works out.
TEST_F(TraceCleanupTest, TracingUntilTomorrowCleansNothing) {
    const DWORD tomorrow = SecondsFromNow(24 * 60 * 60);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace", tomorrow);
    LoadPlugInFresh();
    EXPECT_EQ(Switch(), tomorrow);
    EXPECT_TRUE(PendingInTraceFolder().empty());
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
    const KernelHandle mutex(::CreateMutexW(nullptr, TRUE, L"{32FA2EA5-DF93-459d-8F49-C1DC80404214}"));
    ASSERT_TRUE(mutex);
    SetRegistryDword(HKEY_LOCAL_MACHINE, kTracing, L"DoTrace", 0);
    LoadPlugInFresh();
    EXPECT_EQ(Switch(), std::nullopt) << "the switch is removed before the files are looked at";
    EXPECT_TRUE(PendingInTraceFolder().empty());
    ::ReleaseMutex(mutex.get());
}

// The file is made when missing and grows by the lines, which name the files by their short
// paths.
TEST(WininitTest, AMissingFileIsMadeAndAnExistingOneGrowsByTheLines) {
    TempFolder folder;
    const auto trace = [&](const wchar_t* name) {
        const std::wstring path = folder.Path(name);
        WriteFileBytes(path, PatternBytes(4));
        char shortPath[MAX_PATH] = {};
        ::GetShortPathNameA(std::string(path.begin(), path.end()).c_str(), shortPath, MAX_PATH);
        return std::pair{path, "NUL=" + std::string(shortPath) + "\r\n"};
    };
    const auto text = [&] {
        const Bytes bytes = ReadFileBytes(folder.Path(L"WININIT.INI"));
        return std::string(bytes.begin(), bytes.end());
    };
    const auto [one, oneLine] = trace(L"a long trace name.trc3");
    const auto [two, twoLine] = trace(L"two.trc3");
    tracecore::ScheduleInWininit(folder.Path(L"WININIT.INI"), {one, two});
    EXPECT_EQ(text(), "[rename]\r\n" + oneLine + twoLine);

    const std::string before = "[Boot]\r\nx=1\r\n[Rename]\r\nNUL=C:\\OLD.TMP\r\n";
    WriteFileBytes(folder.Path(L"WININIT.INI"), Bytes(before.begin(), before.end()));
    tracecore::ScheduleInWininit(folder.Path(L"WININIT.INI"), {one});
    EXPECT_EQ(text(), "[Boot]\r\nx=1\r\n[Rename]\r\n" + oneLine + "NUL=C:\\OLD.TMP\r\n");
}

}  // namespace
