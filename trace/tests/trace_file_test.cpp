#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/trace/trace_file_reader.h"
#include "process_run.h"
#include "test_support.h"
#include "win/unique_handle.h"

namespace {

constexpr wchar_t kTracingKey[] = L"SOFTWARE\\Zentaro\\Tracing";
constexpr wchar_t kPoliciesKey[] = L"SOFTWARE\\Policies\\Zentaro";
constexpr wchar_t kProductKey[] = L"SOFTWARE\\Zentaro\\Products\\ZtTraceTestProduct";

bool IsStamp(const core::TraceRecord& record) {
    return record.type == 't' || record.type == 'T';
}

std::string Types(const core::TraceFile& file, bool withStamps = false) {
    std::string types;
    for (const auto& record : file.records)
        if (withStamps || !IsStamp(record)) types += record.type;
    return types;
}

// The texts of the traced records; a time stamp may fall between any two of them.
std::vector<std::string> TracedTexts(const core::TraceFile& file) {
    std::vector<std::string> texts;
    for (const auto& record : file.records)
        if (!IsStamp(record)) texts.push_back(record.text);
    return texts;
}

// trc3dump's text without its time-stamp lines ("thread t ..."), which may fall anywhere.
std::string WithoutStampLines(const std::string& text) {
    std::string kept;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", start), text.size());
        const std::string line = text.substr(start, end - start);
        const std::size_t space = line.find(' ');
        const std::string type = space == std::string::npos ? "" : line.substr(space + 1, 2);
        if (type != "t " && type != "T ") kept += line + "\r\n";
        start = end + 2;
    }
    return kept;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Each test traces a copy of trace_probe in a folder of its own, so that the trace file lands
// there and goes with it; the Tracing key is written for the test and removed afterwards.
class TraceFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTracingKey);
        ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"trace_probe.exe").c_str(), probe_.c_str(), FALSE));
    }

    void SetDword(const wchar_t* name, DWORD value, const wchar_t* key = kTracingKey) {
        RegKey opened = CreateKey(key);
        ASSERT_EQ(::RegSetValueExW(opened.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                   sizeof value),
                  ERROR_SUCCESS);
    }
    void SetString(const wchar_t* name, const std::wstring& value, const wchar_t* key = kTracingKey) {
        RegKey opened = CreateKey(key);
        ASSERT_EQ(
            ::RegSetValueExW(opened.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
    }
    void ListComponent(const wchar_t* list, const wchar_t* name) {
        SetDword(name, 1, (std::wstring(kTracingKey) + L"\\" + list).c_str());
    }
    static RegKey CreateKey(const wchar_t* path) {
        RegKey key;
        EXPECT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    key.put(), nullptr),
                  ERROR_SUCCESS);
        return key;
    }

    void RunProbe(const std::wstring& arguments = L"scopes") {
        ASSERT_EQ(ProcessRun(Quoted(probe_) + L" " + arguments).Finish(60000), 0u);
    }

    static std::wstring BuiltName() {
        DWORD session = 0;
        ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
        return L"trace_probe.trace_probe.exe." + std::to_wstring(session) + L".trc3";
    }
    std::wstring DefaultTraceFile() const { return folder_.Path(BuiltName()); }

    core::TraceFile ReadTrace(const std::wstring& path) const {
        const Bytes bytes = ReadFileBytes(path);
        return core::ReadTraceFile(bytes);
    }

    std::vector<std::wstring> TraceFilesIn(const std::wstring& folder) const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        FindHandle find(::FindFirstFileW((folder + L"\\*.trc3").c_str(), &found));
        if (!find) return names;
        do names.push_back(found.cFileName);
        while (::FindNextFileW(find.get(), &found));
        return names;
    }

    TempFolder folder_;
    std::wstring probe_ = folder_.Path(L"trace_probe.exe");
    RegistryCleanup tracingCleanup_{HKEY_LOCAL_MACHINE, kTracingKey};
};

TEST_F(TraceFileTest, NoTracingKeyWritesNoFile) {
    RunProbe();
    EXPECT_TRUE(TraceFilesIn(folder_.Path()).empty());
}

TEST_F(TraceFileTest, TracingOnWithoutFileOutputWritesNoFile) {
    SetDword(L"DoTrace", 1);
    SetDword(L"TraceToFile", 0);
    RunProbe();
    EXPECT_TRUE(TraceFilesIn(folder_.Path()).empty());
}

TEST_F(TraceFileTest, DoTraceAloneWritesTheBuiltNameInTheModuleFolderAnewAtEachStart) {
    SetDword(L"DoTrace", 1);
    RunProbe();
    RunProbe();
    EXPECT_EQ(TraceFilesIn(folder_.Path()), std::vector<std::wstring>{BuiltName()});
    const core::TraceFile file = ReadTrace(DefaultTraceFile());
    ASSERT_EQ(file.status, core::TraceFileStatus::Complete);
    EXPECT_EQ(file.header.front(), "trace3");
    // One run only: the second start emptied the file. The detailed scope is below the
    // default verbosity, so of it only its result remains.
    EXPECT_EQ(Types(file), ">UEE<");
    EXPECT_EQ(Types(file, true).substr(0, 2), "tT");
    const std::vector<std::string> texts = TracedTexts(file);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "Probe::Run");
    EXPECT_EQ(texts[1], "line 1 of probe");
    EXPECT_EQ(texts.back(), "");
}

TEST_F(TraceFileTest, HeaderCarriesTheModuleVersionAndDefaults) {
    SetDword(L"DoTrace", 1);
    RunProbe();
    const auto header = ReadTrace(DefaultTraceFile()).header;
    ASSERT_GE(header.size(), 11u);
    EXPECT_EQ(header[1].rfind("Compiled: ", 0), 0u);
    EXPECT_EQ(header[2].rfind("OS: ", 0), 0u);
    EXPECT_EQ(header[5], "Trace Ver: 3.0.1");
    EXPECT_EQ(header[6], "FileVersion: " ZT_PROJECT_VERSION);
    EXPECT_EQ(header[header.size() - 3], "installation: NETWORK");
    EXPECT_EQ(header.back(), ".");
}

TEST_F(TraceFileTest, HeaderListsProductsAndALocalInstallation) {
    RegistryCleanup productCleanup(HKEY_LOCAL_MACHINE, kProductKey);
    SetString(L"Version", L"4.2", kProductKey);
    SetDword(L"NetworkSupport", 0, kPoliciesKey);
    SetDword(L"DoTrace", 1);
    RunProbe();
    RegKey policies = CreateKey(kPoliciesKey);
    ::RegDeleteValueW(policies.get(), L"NetworkSupport");
    const auto header = ReadTrace(DefaultTraceFile()).header;
    EXPECT_TRUE(HasLine(header, "Product: ZtTraceTestProduct; Version: 4.2"));
    EXPECT_FALSE(HasLine(header, "No Zentaro products found"));
    EXPECT_TRUE(HasLine(header, "installation: LOCAL"));
}

TEST_F(TraceFileTest, AppendingMarksEachLaterRunWithAnNRecord) {
    SetDword(L"DoTrace", 1);
    SetDword(L"NewFileAlways", 0);
    RunProbe();
    RunProbe();
    const core::TraceFile file = ReadTrace(DefaultTraceFile());
    ASSERT_EQ(file.status, core::TraceFileStatus::Complete);
    EXPECT_EQ(Types(file, true).substr(0, 2), "tT");
    EXPECT_EQ(Types(file), ">UEE<N>UEE<");
    const auto n =
        std::find_if(file.records.begin(), file.records.end(), [](auto& r) { return r.type == 'N'; });
    EXPECT_EQ(n->text.size(), 10u);  // mm-dd-yyyy
    EXPECT_EQ(n->text[2], '-');
    EXPECT_EQ((n + 1)->type, 't');
    EXPECT_EQ((n + 2)->type, 'T');
}

TEST_F(TraceFileTest, ComponentListsDecideWhichModulesTrace) {
    struct Case {
        std::vector<const wchar_t*> only;
        std::vector<const wchar_t*> not_;
        const char* types;
    };
    const Case cases[] = {
        {{L"ZTFileEn"}, {}, "EE"},    {{L"ZTFileEn", L"TRACE_PROBE"}, {}, ">UEE<"},
        {{}, {L"trace_probe"}, "EE"}, {{L"trace_probe"}, {L"trace_probe"}, ">UEE<"},
        {{}, {L"ZTFileEn"}, ">UEE<"},
    };
    for (const Case& c : cases) {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTracingKey);
        SetDword(L"DoTrace", 1);
        for (const wchar_t* name : c.only) ListComponent(L"Components", name);
        for (const wchar_t* name : c.not_) ListComponent(L"ComponentsNOT", name);
        RunProbe();
        EXPECT_EQ(Types(ReadTrace(DefaultTraceFile())), c.types) << c.types;
    }
}

TEST_F(TraceFileTest, ProfilingKeepsScopesAndResultsWithTheirStamps) {
    SetDword(L"DoTrace", 1);
    SetDword(L"DoProfiling", 1);
    SetDword(L"Verbosity", 10);
    RunProbe();
    const core::TraceFile file = ReadTrace(DefaultTraceFile());
    EXPECT_EQ(Types(file), ">>E<E<");
    EXPECT_EQ(Types(file, true).substr(0, 3), "tT>");
}

TEST_F(TraceFileTest, VerbosityTenWritesTheDetailedScope) {
    SetDword(L"DoTrace", 1);
    SetDword(L"Verbosity", 10);
    RunProbe();
    const core::TraceFile file = ReadTrace(DefaultTraceFile());
    EXPECT_EQ(Types(file), ">U>UE<E<");
    EXPECT_TRUE(std::any_of(file.records.begin(), file.records.end(),
                            [](auto& r) { return r.type == 'U' && r.text == "detail shown"; }));
}

TEST_F(TraceFileTest, RecordsWithinOneMillisecondShareOneTimeStamp) {
    SetDword(L"DoTrace", 1);
    RunProbe(L"burst 500");
    const core::TraceFile file = ReadTrace(DefaultTraceFile());
    ASSERT_EQ(Types(file).size(), 1000u);
    const auto stamps =
        std::count_if(file.records.begin(), file.records.end(), [](auto& r) { return r.type == 'T'; });
    EXPECT_LT(stamps, 1000);
    std::string lastStamp;
    for (const auto& record : file.records) {
        if (record.type == 't') lastStamp.clear();
        if (record.type != 'T') continue;
        EXPECT_NE(record.text, lastStamp) << "a repeated time stamp";
        lastStamp = record.text;
    }
}

TEST_F(TraceFileTest, RecordsOfConcurrentThreadsNeverInterleave) {
    SetDword(L"DoTrace", 1);
    RunProbe(L"threads 8 200");
    const core::TraceFile file = ReadTrace(DefaultTraceFile());
    ASSERT_EQ(file.status, core::TraceFileStatus::Complete);
    std::map<std::uint32_t, std::string> typesByThread;
    std::map<std::uint32_t, int> nextItem;
    for (const auto& record : file.records) {
        if (record.type == 't' || record.type == 'T') continue;
        typesByThread[record.thread] += record.type;
        if (record.type != 'U') continue;
        const std::string expected =
            "thread " + std::to_string(record.thread) + " item " + std::to_string(nextItem[record.thread]++);
        EXPECT_EQ(record.text, expected);
    }
    ASSERT_EQ(typesByThread.size(), 8u);
    std::string perThread;
    for (int i = 0; i < 200; ++i) perThread += ">U<";
    for (const auto& [thread, types] : typesByThread) EXPECT_EQ(types, perThread) << thread;
}

TEST_F(TraceFileTest, TracePathGetsItsMissingFolders) {
    const std::wstring folder = folder_.Path(L"traces\\deeper");
    SetDword(L"DoTrace", 1);
    SetString(L"TracePath", folder);
    RunProbe();
    EXPECT_EQ(TraceFilesIn(folder), std::vector<std::wstring>{BuiltName()});
    EXPECT_TRUE(TraceFilesIn(folder_.Path()).empty());
}

TEST_F(TraceFileTest, FileNameOverridesTheBuiltName) {
    const std::wstring path = folder_.Path(L"chosen.log");
    SetDword(L"DoTrace", 1);
    SetString(L"TracePath", folder_.Path(L"unused"));
    SetString(L"FileName", path);
    RunProbe();
    EXPECT_EQ(Types(ReadTrace(path)), ">UEE<");
    EXPECT_TRUE(TraceFilesIn(folder_.Path()).empty());
    EXPECT_FALSE(FileExists(folder_.Path(L"unused")));
}

TEST_F(TraceFileTest, Trc3dumpPrintsTheTracedRun) {
    SetDword(L"DoTrace", 1);
    RunProbe();
    std::string text;
    ASSERT_EQ(CapturedRun(L"trc3dump.exe", Quoted(DefaultTraceFile())).Finish(text), 0u);
    const core::TraceFile file = ReadTrace(DefaultTraceFile());
    const std::string thread = std::to_string(file.records.front().thread);
    EXPECT_EQ(text.rfind("trace3\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\n.\r\n" + thread + " t "), std::string::npos);
    EXPECT_NE(
        WithoutStampLines(text).find("\r\n" + thread + " > Probe::Run\r\n" + thread +
                                     " U line 1 of probe\r\n" + thread + " E -2147024891 detail failed\r\n" +
                                     thread + " E -2147467259 run failed\r\n" + thread + " < \r\n"),
        std::string::npos)
        << text;
}

}  // namespace
