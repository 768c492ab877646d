#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/trace/trace_dump.h"
#include "core/trace/trace_file_reader.h"
#include "process_run.h"
#include "test_support.h"
#include "win/unique_handle.h"

namespace {

const std::wstring kTracingKey = L"SOFTWARE\\Zentaro\\Tracing";
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

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Each test traces a copy of trace_probe in a folder of its own, so that the trace file lands
// there and goes with it; the Tracing key is written for the test and removed afterwards.
class TraceFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTracingKey.c_str());
        ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"trace_probe.exe").c_str(), probe_.c_str(), FALSE));
    }

    void SetTracing(const wchar_t* name, DWORD value) {
        SetRegistryDword(HKEY_LOCAL_MACHINE, kTracingKey, name, value);
    }
    void RunProbe() { ASSERT_EQ(ProcessRun(Quoted(probe_)).Finish(60000), 0u); }

    static std::wstring BuiltName() {
        DWORD session = 0;
        ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
        return L"trace_probe.trace_probe.exe." + std::to_wstring(session) + L".trc3";
    }
    std::wstring DefaultTraceFile() const { return folder_.Path(BuiltName()); }

    static core::TraceFile ReadTrace(const std::wstring& path) {
        return core::ReadTraceFile(ReadFileBytes(path));
    }

    static std::vector<std::wstring> TraceFilesIn(const std::wstring& folder) {
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

// Every configuration is run twice: unless NewFileAlways is 0, the second start empties the
// file, and a later run appended is marked with an 'N' record holding its date. Values under
// Components (only these trace) and ComponentsNOT (these do not) name modules in any case.
TEST_F(TraceFileTest, TheTracingKeyDecidesWhetherAndWhatEachRunWrites) {
    struct Case {
        std::vector<std::pair<std::wstring, DWORD>> values;  // below the Tracing key
        const char* types;                                   // nothing: no trace file
    };
    const Case cases[] = {
        {{}, nullptr},
        {{{L"DoTrace", 1}, {L"TraceToFile", 0}}, nullptr},
        // The detailed scope is below the default verbosity: of it only its result remains.
        {{{L"DoTrace", 1}}, ">UEE<"},
        {{{L"DoTrace", 1}, {L"Verbosity", 10}}, ">U>UE<E<"},
        {{{L"DoTrace", 1}, {L"DoProfiling", 1}, {L"Verbosity", 10}}, ">>E<E<"},
        {{{L"DoTrace", 1}, {L"NewFileAlways", 0}}, ">UEE<N>UEE<"},
        {{{L"DoTrace", 1}, {L"Components\\ZTFileEn", 1}}, "EE"},
        {{{L"DoTrace", 1}, {L"Components\\ZTFileEn", 1}, {L"Components\\TRACE_PROBE", 1}}, ">UEE<"},
        {{{L"DoTrace", 1}, {L"ComponentsNOT\\trace_probe", 1}}, "EE"},
        {{{L"DoTrace", 1}, {L"Components\\trace_probe", 1}, {L"ComponentsNOT\\trace_probe", 1}}, ">UEE<"},
        {{{L"DoTrace", 1}, {L"ComponentsNOT\\ZTFileEn", 1}}, ">UEE<"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.types ? c.types : "no file");
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTracingKey.c_str());
        ::DeleteFileW(DefaultTraceFile().c_str());
        for (const auto& [path, data] : c.values) {
            const std::size_t cut = path.rfind(L'\\');
            if (cut == std::wstring::npos)
                SetTracing(path.c_str(), data);
            else
                SetRegistryDword(HKEY_LOCAL_MACHINE, kTracingKey + L"\\" + path.substr(0, cut),
                                 path.c_str() + cut + 1, data);
        }
        RunProbe();
        RunProbe();
        if (!c.types) {
            EXPECT_TRUE(TraceFilesIn(folder_.Path()).empty());
            continue;
        }
        EXPECT_EQ(TraceFilesIn(folder_.Path()), std::vector<std::wstring>{BuiltName()});
        const core::TraceFile file = ReadTrace(DefaultTraceFile());
        EXPECT_EQ(file.status, core::TraceFileStatus::Complete);
        EXPECT_EQ(Types(file), c.types);
        EXPECT_EQ(Types(file, true).substr(0, 2), "tT");
        const auto n =
            std::find_if(file.records.begin(), file.records.end(), [](auto& r) { return r.type == 'N'; });
        if (n == file.records.end()) continue;
        EXPECT_EQ(n->text.size(), 10u);  // mm-dd-yyyy
        EXPECT_EQ(n->text[2], '-');
        EXPECT_EQ(Types(file, true).substr(static_cast<std::size_t>(n - file.records.begin()), 3), "NtT");
    }
}

TEST_F(TraceFileTest, HeaderCarriesTheModuleVersionProductsAndInstallation) {
    SetTracing(L"DoTrace", 1);
    RunProbe();
    const auto defaults = ReadTrace(DefaultTraceFile()).header;
    ASSERT_GE(defaults.size(), 11u);
    EXPECT_EQ(defaults[1].rfind("Compiled: ", 0), 0u);
    EXPECT_EQ(defaults[2].rfind("OS: ", 0), 0u);
    EXPECT_EQ(defaults[5], "Trace Ver: 3.0.1");
    EXPECT_EQ(defaults[6], "FileVersion: " ZT_PROJECT_VERSION);
    EXPECT_EQ(defaults[defaults.size() - 3], "installation: NETWORK");
    EXPECT_EQ(defaults.back(), ".");

    RegistryCleanup productCleanup(HKEY_LOCAL_MACHINE, kProductKey);
    SetRegistryString(HKEY_LOCAL_MACHINE, kProductKey, L"Version", L"4.2");
    SetRegistryDword(HKEY_LOCAL_MACHINE, kPoliciesKey, L"NetworkSupport", 0);
    RunProbe();
    RegKey policies;
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPoliciesKey, 0, KEY_SET_VALUE, policies.put());
    ::RegDeleteValueW(policies.get(), L"NetworkSupport");
    const auto header = ReadTrace(DefaultTraceFile()).header;
    EXPECT_TRUE(HasLine(header, "Product: ZtTraceTestProduct; Version: 4.2"));
    EXPECT_FALSE(HasLine(header, "No Zentaro products found"));
    EXPECT_TRUE(HasLine(header, "installation: LOCAL"));
}

TEST_F(TraceFileTest, TracePathGetsItsMissingFoldersAndFileNameOverridesIt) {
    const std::wstring folder = folder_.Path(L"traces\\deeper");
    SetTracing(L"DoTrace", 1);
    SetRegistryString(HKEY_LOCAL_MACHINE, kTracingKey, L"TracePath", folder);
    RunProbe();
    EXPECT_EQ(TraceFilesIn(folder), std::vector<std::wstring>{BuiltName()});
    EXPECT_TRUE(TraceFilesIn(folder_.Path()).empty());

    const std::wstring path = folder_.Path(L"chosen.log");
    SetRegistryString(HKEY_LOCAL_MACHINE, kTracingKey, L"TracePath", folder_.Path(L"unused"));
    SetRegistryString(HKEY_LOCAL_MACHINE, kTracingKey, L"FileName", path);
    RunProbe();
    EXPECT_EQ(Types(ReadTrace(path)), ">UEE<");
    EXPECT_TRUE(TraceFilesIn(folder_.Path()).empty());
    EXPECT_FALSE(FileExists(folder_.Path(L"unused")));
}

// The texts as the probe traced them, enciphered on the way out; trc3dump shows them as the
// portable dump does, one line per header line and per record.
TEST_F(TraceFileTest, Trc3dumpPrintsTheTracedRun) {
    SetTracing(L"DoTrace", 1);
    RunProbe();
    const core::TraceFile file = ReadTrace(DefaultTraceFile());
    std::vector<std::string> texts;
    std::string expected;
    for (const std::string& line : file.header) expected += line + "\r\n";
    for (const auto& record : file.records) {
        if (!IsStamp(record)) texts.push_back(record.text);
        expected += core::TraceRecordLine(record) + "\r\n";
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Probe::Run", "line 1 of probe", "-2147024891 detail failed",
                                               "-2147467259 run failed", ""}));
    std::string text;
    ASSERT_EQ(CapturedRun(L"trc3dump.exe", Quoted(DefaultTraceFile())).Finish(text), 0u);
    EXPECT_EQ(text, expected);
}

}  // namespace
