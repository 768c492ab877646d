#include <map>
#include <string>
#include <thread>
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

// Called under the state's lock, so threads never meet here.
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
        Configure(0, 0, false);
        State().output.reset();
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
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Record& r : Captured()) texts.push_back(r.text);
        return texts;
    }

    std::vector<Record> records_;
};

TEST_F(TraceCallsTest, ScopeWritesEntryLineResultAndExitInOrder) {
    {
        CTraceScope scope("CFileEncryption::WriteFileHeader");
        Trace(scope, 0, "Input Filename: %ls, size %d", L"a.txt", 12);
        TraceResult(scope, "write failed", E_FAIL);
        TraceResult(scope, nullptr, E_OUTOFMEMORY);
    }
    EXPECT_EQ(Types(), ">UEE<");
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"CFileEncryption::WriteFileHeader", "Input Filename: a.txt, size 12",
                                        "-2147467259 write failed", "-2147024882 ", ""}));
    EXPECT_EQ(Captured()[0].thread, ::GetCurrentThreadId());
}

// Success codes never write; the filter (verbosity against the scope's level by magnitude,
// the component lists) keeps failures; profiling drops only the lines.
TEST_F(TraceCallsTest, FlagsVerbosityAndComponentDecideWhatIsWritten) {
    struct Case {
        std::uint8_t flags;
        DWORD verbosity;
        bool enabled;
        int level;
        const char* types;
    };
    const Case cases[] = {
        {kTracingOn, 0, true, 0, ">UE<"}, {0, 10, true, 0, ""},
        {kTracingOn, 9, true, 10, "E"},   {kTracingOn, 10, true, -10, ">UE<"},
        {kTracingOn, 10, false, 0, "E"},  {kTracingOn | kProfiling, 0, true, 0, ">E<"},
    };
    for (const Case& c : cases) {
        records_.clear();
        Configure(c.flags, c.verbosity, c.enabled);
        {
            CTraceScope scope("A::B", c.level);
            Trace(scope, 0, "line");
            TraceResult(scope, "failed", E_FAIL);
            TraceResult(scope, "fine", S_OK);
            TraceResult(scope, "skip", S_FALSE);
        }
        EXPECT_EQ(Types(), c.types) << c.types;
        EXPECT_EQ(records_.empty(), !c.flags);
    }
}

// Names default and are cut to the scope's buffer; lines are formatted with narrow and wide
// arguments and cut to a record at a character boundary; a format too long is dropped whole.
TEST_F(TraceCallsTest, TextsAreFormattedAsUtf8AndCutToARecord) {
    const std::wstring omegas(300, L'\x03A9');  // two UTF-8 bytes each
    const std::string format399(399, 'f');
    { CTraceScope unnamed(nullptr); }
    {
        CTraceScope scope(std::string(150, 'n').c_str());
        Trace(scope, 0, "%s|%c|%ls|%-4s|%5.2s|%%s|%hs", "narrow", 'x', L"wide \x03A9", "ab", "xyz", "h");
        Trace(scope, 0, "%ls", omegas.c_str());
        Trace(scope, 0, "%s", std::string(1000, 'a').c_str());
        Trace(scope, 0, std::string(400, 'f').c_str());
        Trace(scope, 0, format399.c_str());
        Trace(scope, 0, nullptr);
        Trace(scope, 0, "");
    }
    const auto texts = Texts();
    ASSERT_EQ(Types(), "><>UUUUUU<");
    EXPECT_EQ(texts[0], "????");
    EXPECT_EQ(texts[2], std::string(99, 'n'));
    EXPECT_EQ(texts[3], "narrow|x|wide \xCE\xA9|ab  |   xy|%s|h");
    EXPECT_EQ(texts[4].size(), 398u);
    EXPECT_EQ(texts[5], std::string(399, 'a'));
    EXPECT_EQ(texts[6], format399);
    EXPECT_EQ(texts[7], "");
    EXPECT_EQ(texts[8], "");
}

// A reader dates each record by the last 't' (date) and 'T' (time) before it: the first
// record gets both, and records within one millisecond share one time stamp.
TEST_F(TraceCallsTest, TimeStampsPrecedeTheFirstRecordAndChangeWithTheMillisecond) {
    State().lastStamp = {};
    for (int i = 0; i < 500; ++i) CTraceScope scope("A::B");
    ASSERT_GE(records_.size(), 3u);
    EXPECT_EQ(records_[0].type, 't');
    EXPECT_EQ(records_[0].text.size(), 8u);  // mm/dd/yy
    EXPECT_EQ(records_[1].type, 'T');
    EXPECT_EQ(records_[1].text.size(), 12u);  // hh:mm:ss.mmm
    EXPECT_EQ(records_[2].type, '>');
    EXPECT_EQ(Types().size(), 1000u);
    EXPECT_LT(records_.size(), 2000u);
    std::string lastStamp;
    for (const auto& record : records_) {
        if (record.type == 't') lastStamp.clear();
        if (record.type != 'T') continue;
        EXPECT_NE(record.text, lastStamp) << "a repeated time stamp";
        lastStamp = record.text;
    }
}

TEST_F(TraceCallsTest, RecordsOfConcurrentThreadsNeverInterleave) {
    std::vector<std::thread> workers;
    for (int t = 0; t < 8; ++t) {
        workers.emplace_back([] {
            for (int i = 0; i < 200; ++i) {
                CTraceScope scope("A::Worker");
                Trace(scope, 0, "thread %lu item %d", ::GetCurrentThreadId(), i);
            }
        });
    }
    for (std::thread& worker : workers) worker.join();
    std::map<DWORD, std::string> typesByThread;
    std::map<DWORD, int> nextItem;
    for (const auto& record : Captured()) {
        typesByThread[record.thread] += record.type;
        if (record.type != 'U') continue;
        EXPECT_EQ(record.text, "thread " + std::to_string(record.thread) + " item " +
                                   std::to_string(nextItem[record.thread]++));
    }
    ASSERT_EQ(typesByThread.size(), 8u);
    std::string perThread;
    for (int i = 0; i < 200; ++i) perThread += ">U<";
    for (const auto& [thread, types] : typesByThread) EXPECT_EQ(types, perThread) << thread;
}

TEST_F(TraceCallsTest, GuardedTurnsExceptionsIntoTracedCodes) {
    HRESULT thrown = S_OK, other = S_OK, passed = S_OK;
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
