#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "trace/trace_state.h"

using namespace trace;

namespace {

struct Record {
    DWORD thread;
    char type;
    std::string text;
};

class CaptureOutput final : public COutput {
public:
    explicit CaptureOutput(std::vector<Record>& records) : records_(records) {}
    void Write(const std::uint8_t* record, std::size_t size) override {
        const DWORD thread = record[0] | record[1] << 8 | record[2] << 16 | DWORD(record[3]) << 24;
        const std::size_t length = record[5] | record[6] << 8;
        EXPECT_EQ(size, 7 + length);
        records_.push_back(
            {thread, char(record[4]), std::string(reinterpret_cast<const char*>(record + 7), length)});
    }

private:
    std::vector<Record>& records_;
};

// Switches tracing on for this module as the configuration would, with records captured
// instead of written; time-stamp records are left out of Captured().
class TraceCallsTest : public ::testing::Test {
protected:
    void SetUp() override { Configure(kTracingOn, 0); }
    void TearDown() override {
        TraceState& state = State();
        state.flags = 0;
        state.componentEnabled = false;
        state.verbosity = 0;
        state.output.reset();
    }

    void Configure(std::uint8_t flags, DWORD verbosity, bool enabled = true) {
        TraceState& state = State();
        state.flags = flags;
        state.verbosity = verbosity;
        state.componentEnabled = enabled;
        state.configurationRead = true;
        state.nextCheck = ::GetTickCount() + 3600 * 1000;
        state.output = std::make_unique<CaptureOutput>(records_);
    }

    std::vector<Record> Captured() const {
        std::vector<Record> result;
        for (const Record& r : records_)
            if (r.type != 't' && r.type != 'T') result.push_back(r);
        return result;
    }
    std::string Types() const {
        std::string types;
        for (const Record& r : Captured()) types += r.type;
        return types;
    }

    std::vector<Record> records_;
};

TEST_F(TraceCallsTest, ScopeWritesEntryLineResultAndExitInOrder) {
    {
        CTraceScope scope("CFileEncryption::WriteFileHeader");
        Trace(scope, 0, "Input Filename: %ls, size %d", L"a.txt", 12);
        TraceResult(scope, "write failed", E_FAIL);
    }
    const auto records = Captured();
    ASSERT_EQ(Types(), ">UE<");
    EXPECT_EQ(records[0].text, "CFileEncryption::WriteFileHeader");
    EXPECT_EQ(records[1].text, "Input Filename: a.txt, size 12");
    EXPECT_EQ(records[2].text, "-2147467259 write failed");
    EXPECT_EQ(records[3].text, "");
    EXPECT_EQ(records[0].thread, ::GetCurrentThreadId());
}

TEST_F(TraceCallsTest, TracingOffWritesNothing) {
    Configure(0, 10);
    {
        CTraceScope scope("A::B");
        Trace(scope, 0, "line");
        TraceResult(scope, "failed", E_FAIL);
    }
    EXPECT_TRUE(records_.empty());
}

TEST_F(TraceCallsTest, SuccessCodesWriteNoResult) {
    {
        CTraceScope scope("A::B");
        TraceResult(scope, "fine", S_OK);
        TraceResult(scope, "skip", S_FALSE);
    }
    EXPECT_EQ(Types(), "><");
}

TEST_F(TraceCallsTest, VerbosityBelowLevelKeepsOnlyResults) {
    Configure(kTracingOn, 9);
    {
        CTraceScope scope("A::Detailed", 10);
        Trace(scope, 0, "detail");
        TraceResult(scope, nullptr, E_OUTOFMEMORY);
    }
    ASSERT_EQ(Types(), "E");
    EXPECT_EQ(Captured()[0].text, "-2147024882 ");
}

TEST_F(TraceCallsTest, NegativeLevelsCompareByMagnitude) {
    Configure(kTracingOn, 10);
    { CTraceScope scope("A::Detailed", -10); }
    EXPECT_EQ(Types(), "><");
}

TEST_F(TraceCallsTest, DisabledComponentKeepsOnlyResults) {
    Configure(kTracingOn, 10, false);
    {
        CTraceScope scope("A::B");
        Trace(scope, 0, "line");
        TraceResult(scope, "failed", E_FAIL);
    }
    EXPECT_EQ(Types(), "E");
}

TEST_F(TraceCallsTest, ProfilingDropsTraceLinesOnly) {
    Configure(kTracingOn | kProfiling, 0);
    {
        CTraceScope scope("A::B");
        Trace(scope, 0, "line");
        TraceResult(scope, "failed", E_FAIL);
    }
    EXPECT_EQ(Types(), ">E<");
}

TEST_F(TraceCallsTest, ScopeNamesAreDefaultedAndCut) {
    const std::string longName(150, 'n');
    { CTraceScope unnamed(nullptr); }
    { CTraceScope named(longName.c_str()); }
    const auto records = Captured();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].text, "????");
    EXPECT_EQ(records[2].text, std::string(99, 'n'));
}

TEST_F(TraceCallsTest, NarrowAndWideStringArguments) {
    {
        CTraceScope scope("A::B");
        Trace(scope, 0, "%s|%c|%ls|%-4s|%5.2s|%%s|%hs", "narrow", 'x', L"wide \x03A9", "ab", "xyz", "h");
    }
    ASSERT_EQ(Captured().size(), 3u);
    EXPECT_EQ(Captured()[1].text, "narrow|x|wide \xCE\xA9|ab  |   xy|%s|h");
}

TEST_F(TraceCallsTest, LongLinesAreCutAtACharacterBoundary) {
    const std::wstring omegas(300, L'\x03A9');  // two UTF-8 bytes each
    {
        CTraceScope scope("A::B");
        Trace(scope, 0, "%ls", omegas.c_str());
        Trace(scope, 0, "%s", std::string(1000, 'a').c_str());
    }
    const auto records = Captured();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[1].text.size(), 398u);
    EXPECT_EQ(records[2].text, std::string(399, 'a'));
}

TEST_F(TraceCallsTest, OverlongFormatsAndEmptyFormats) {
    const std::string format399(399, 'f');
    const std::string format400(400, 'f');
    {
        CTraceScope scope("A::B");
        Trace(scope, 0, format400.c_str());
        Trace(scope, 0, format399.c_str());
        Trace(scope, 0, nullptr);
        Trace(scope, 0, "");
    }
    const auto records = Captured();
    ASSERT_EQ(Types(), ">UUU<");
    EXPECT_EQ(records[1].text, format399);
    EXPECT_EQ(records[2].text, "");
    EXPECT_EQ(records[3].text, "");
}

TEST_F(TraceCallsTest, FirstRecordIsPrecededByDateAndTime) {
    records_.clear();
    State().lastStamp = {};
    { CTraceScope scope("A::B"); }
    ASSERT_GE(records_.size(), 3u);
    EXPECT_EQ(records_[0].type, 't');
    EXPECT_EQ(records_[0].text.size(), 8u);  // mm/dd/yy
    EXPECT_EQ(records_[1].type, 'T');
    EXPECT_EQ(records_[1].text.size(), 12u);  // hh:mm:ss.mmm
    EXPECT_EQ(records_[2].type, '>');
}

TEST_F(TraceCallsTest, GuardedTurnsExceptionsIntoTracedCodes) {
    HRESULT thrown = S_OK;
    HRESULT other = S_OK;
    HRESULT passed = S_OK;
    {
        CTraceScope scope("A::B");
        thrown = Guarded(scope, [] { ThrowWin32(ERROR_ACCESS_DENIED); });
        other = Guarded(scope, [] { throw 42; });
        passed = Guarded(scope, [] { return S_FALSE; });
    }
    EXPECT_EQ(thrown, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    EXPECT_EQ(other, E_UNEXPECTED);
    EXPECT_EQ(passed, S_FALSE);
    EXPECT_EQ(Types(), ">EE<");
}

}  // namespace
