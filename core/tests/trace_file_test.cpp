#include <gtest/gtest.h>

#include "byte_text.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/crypto/tea_cipher.h"
#include "core/trace/printf_format.h"
#include "core/trace/trace_dump.h"
#include "core/trace/trace_file_header.h"
#include "core/trace/trace_file_reader.h"
#include "core/trace/trace_record.h"

namespace core {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The expected blocks come from an independent reference written with arbitrary-precision
// integers and an explicit sign extension for the shift. Its logical-shift variant gives the
// published TEA vector (zero key, zero block: 41ea3a0a 94baa940), which checks the reference;
// its arithmetic variant gives the values below. Both rows reach halves with the top bit set
// within the first rounds, so a logical shift cannot pass them.
struct TeaVector {
    TeaKey key;
    TeaBlock plain;
    TeaBlock enciphered;
};
constexpr TeaVector kTeaVectors[] = {
    {{0, 0, 0, 0}, {0, 0}, {0x1dec4e94, 0xf9fec492}},
    {{0x01234567, 0x89abcdef, 0xfedcba98, 0x76543210}, {0x80000000, 0xffffffff}, {0xc57cc2d9, 0xfba675f8}},
};

TEST(TeaCipher, ShiftsRightArithmetically) {
    for (const auto& vector : kTeaVectors) {
        EXPECT_EQ(TeaEncipher(vector.plain, vector.key), vector.enciphered) << std::hex << vector.plain[0];
    }
}

TEST(TeaCipher, KeystreamIsTheChainOfEncipheredStatesLittleEndian) {
    const TeaVector& zero = kTeaVectors[0];
    const TeaBlock second = TeaEncipher(zero.enciphered, zero.key);
    Bytes data(11, 0);
    TeaKeystreamXor(data, zero.key, zero.plain);
    EXPECT_EQ(Hex(data), "944eec1d92c4fef9" + Hex(Bytes{std::uint8_t(second[0]), std::uint8_t(second[0] >> 8),
                                                        std::uint8_t(second[0] >> 16)}));
}

// Written trace files depend on the record key and initial value: this pins both, with a value
// from the same reference as the block vectors, fed with the key schedule's words. Every record
// starts the key stream anew, and enciphering again gives the text back.
TEST(TraceRecordCipher, EnciphersWithTheFixedKeyAndInitialValueRestartingForEveryRecord) {
    Bytes text = BytesOf("CFileEncryption::Run");
    CipherTraceRecordText(text);
    EXPECT_EQ(Hex(text), "bde0401fb270749ecf4b5abab4b7e25345c85866");

    const Bytes plain = BytesOf("a text that spans three cipher blocks");
    Bytes first = plain;
    Bytes second = plain;
    CipherTraceRecordText(first);
    CipherTraceRecordText(second);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, plain);
    Bytes shorter(plain.begin(), plain.begin() + 5);
    CipherTraceRecordText(shorter);
    EXPECT_EQ(shorter, Bytes(first.begin(), first.begin() + 5));
    CipherTraceRecordText(first);
    EXPECT_EQ(first, plain);
}

// Trace formats pass narrow strings to the wide printf family: a bare "%s" or "%c" gets "h";
// sized conversions, "%%" and a conversion cut by the end of the text stay as they are.
TEST(TraceFormat, BareStringAndCharacterConversionsAreNarrowed) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"%s|%c|%ls|%hs|%%s|%d", u"%hs|%hc|%ls|%hs|%%s|%d"},
        {u"%-4s|%5.2s|%*c|%#x|%+ 0s", u"%-4hs|%5.2hs|%*hc|%#x|%+ 0hs"},
        {u"%I64d %ws %Ls %zs %ts %js", u"%I64d %ws %Ls %zs %ts %js"},
        {u"no conversions", u"no conversions"},
        {u"ends in %-5", u"ends in %-5"},
        {u"%", u"%"},
    };
    for (const auto& [format, narrowed] : cases)
        EXPECT_EQ(NarrowStringConversions(format), narrowed) << std::string(format.begin(), format.end());
}

// The prefix is the thread, the type and the text's length, little-endian; a text longer than
// the buffer is cut, and a buffer shorter than the prefix holds no record.
TEST(TraceRecordCodec, LaysOutThreadTypeAndLengthLittleEndianAndCutsTheTextToTheBuffer) {
    Bytes buffer(32, 0xEE);
    const std::size_t size = EncodeTraceRecord(buffer, 0x12345678, '>', "A::B");
    ASSERT_EQ(size, 11u);
    EXPECT_EQ(Hex(std::span(buffer).first(size)),
              "78563412"
              "3e"
              "0400"
              "413a3a42");
    const auto prefix = DecodeTraceRecordPrefix(buffer);
    ASSERT_TRUE(prefix);
    EXPECT_EQ(prefix->thread, 0x12345678u);
    EXPECT_EQ(prefix->type, '>');
    EXPECT_EQ(prefix->length, 4u);

    Bytes cut(kTraceRecordPrefix + 3);
    EXPECT_EQ(EncodeTraceRecord(cut, 1, 'U', "abcdef"), cut.size());
    EXPECT_EQ(cut[5], 3);
    Bytes tooSmall(kTraceRecordPrefix - 1);
    EXPECT_EQ(EncodeTraceRecord(tooSmall, 1, 'U', "abc"), 0u);
    EXPECT_FALSE(DecodeTraceRecordPrefix(tooSmall));
}

// A trace file as the library writes it: header, then records with enciphered texts.
class TraceFileBuilder {
public:
    explicit TraceFileBuilder(std::string_view header = "trace3\r\nTrace Ver: 3.0.1\r\n.\r\n")
        : bytes_(BytesOf(header)) {}
    TraceFileBuilder& Add(std::uint32_t thread, char type, std::string_view text) {
        Bytes record(kTraceRecordPrefix + text.size());
        EncodeTraceRecord(record, thread, type, text);
        CipherTraceRecordText(std::span(record).subspan(kTraceRecordPrefix));
        bytes_.insert(bytes_.end(), record.begin(), record.end());
        return *this;
    }
    std::vector<std::uint8_t>& File() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

TEST(TraceFileReader, ReadsHeaderAndDeciphersRecordsInOrder) {
    TraceFileBuilder builder;
    builder.Add(7, 't', "01/02/26").Add(7, '>', "A::B").Add(9, '<', "").Add(7, 'N', "01-02-2026");
    const TraceFile file = ReadTraceFile(builder.File());
    EXPECT_EQ(file.status, TraceFileStatus::Complete);
    EXPECT_EQ(file.header, (std::vector<std::string>{"trace3", "Trace Ver: 3.0.1", "."}));
    const std::vector<TraceRecord> expected{
        {29, 7, 't', "01/02/26"}, {44, 7, '>', "A::B"}, {55, 9, '<', ""}, {62, 7, 'N', "01-02-2026"}};
    EXPECT_EQ(file.records, expected);
}

TEST(TraceFileReader, ReportsACutLastRecordAndKeepsTheOnesBefore) {
    for (const std::size_t cut : {1u, 6u, 7u, 10u}) {
        TraceFileBuilder builder;
        builder.Add(1, '>', "A::B").Add(1, 'U', "a line");
        const std::size_t whole = builder.File().size();
        builder.File().resize(whole - cut);
        const TraceFile file = ReadTraceFile(builder.File());
        EXPECT_EQ(file.status, TraceFileStatus::TruncatedRecord) << cut;
        ASSERT_EQ(file.records.size(), 1u) << cut;
        EXPECT_EQ(file.truncatedOffset, whole - 13);
        EXPECT_EQ(file.truncatedBytes, 13 - cut);
        EXPECT_EQ(file.truncatedNeeded, cut > 6 ? kTraceRecordPrefix : 13u) << cut;
    }
}

TEST(TraceFileReader, RejectsFilesWithoutACompleteHeader) {
    struct Case {
        std::string_view bytes;
        TraceFileStatus status;
    };
    const Case cases[] = {
        {"", TraceFileStatus::NotATraceFile},
        {"trace3", TraceFileStatus::NotATraceFile},
        {"trace2\r\n.\r\n", TraceFileStatus::NotATraceFile},
        {"trace3\r\nOS: WindowsXP\r\n", TraceFileStatus::UnterminatedHeader},
        {"trace3\r\n.", TraceFileStatus::UnterminatedHeader},
        {"trace3\r\n.\r\n", TraceFileStatus::Complete},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadTraceFile(BytesOf(c.bytes)).status, c.status) << c.bytes;
    }
}

TraceHeaderFacts SampleFacts() {
    TraceHeaderFacts facts;
    facts.compiledDate = "Mar  4 2026";
    facts.compiledTime = "09:08:07";
    facts.majorVersion = 5;
    facts.minorVersion = 1;
    facts.servicePack = "Service Pack 3";
    facts.machineName = "DESK-7";
    facts.fileVersion = {{1, 0, 0, 1}};
    facts.localTime = {2026, 3, 4, 9, 8, 7, 6};
    return facts;
}

TEST(TraceFileHeader, ListsEveryLineInOrder) {
    TraceHeaderFacts facts = SampleFacts();
    facts.products = {{"Tapwise Crypto", "1.0", 0, 0}, {"Reader", "", 0, 2}, {"Locked", "", 5, 0}};
    facts.networkSupport = 0;
    EXPECT_EQ(FormatTraceHeader(facts),
              "trace3\r\n"
              "Compiled: Mar  4 2026 09:08:07\r\n"
              "OS: WindowsXP\r\n"
              "ServicePack: Service Pack 3\r\n"
              "Machine name: DESK-7\r\n"
              "Trace Ver: 3.0.1\r\n"
              "FileVersion: 1.0.0.1\r\n"
              "Product: Tapwise Crypto; Version: 1.0\r\n"
              "Product: Reader; Version: ERROR(0x2)\r\n"
              "Product: Locked ERROR(0x5)\r\n"
              "installation: LOCAL\r\n"
              "03/04/2026 09:08:07.006\r\n"
              ".\r\n");
}

std::vector<std::string> HeaderLines(const TraceHeaderFacts& facts) {
    return ReadTraceFile(BytesOf(FormatTraceHeader(facts))).header;
}

TEST(TraceFileHeader, NamesThePlatform) {
    struct Case {
        bool nt;
        unsigned major, minor;
        std::string_view line;
    };
    const Case cases[] = {
        {true, 6, 0, "OS: WindowsVista"},
        {true, 5, 1, "OS: WindowsXP"},
        {true, 5, 2, "OS: Server2003"},
        {true, 5, 0, "OS: Windows2000"},
        {true, 5, 7, "OS: Windows2000"},
        {true, 6, 1, "OS: UNKNOWN OS(Major:6 Minor:1)"},
        {true, 10, 0, "OS: UNKNOWN OS(Major:10 Minor:0)"},
        {false, 5, 1, "OS: UNKNOWN OS(Major:5 Minor:1)"},
    };
    for (const Case& c : cases) {
        TraceHeaderFacts facts = SampleFacts();
        facts.ntPlatform = c.nt;
        facts.majorVersion = c.major;
        facts.minorVersion = c.minor;
        EXPECT_EQ(HeaderLines(facts).at(2), c.line);
    }
}

TEST(TraceFileHeader, FallbackLines) {
    TraceHeaderFacts facts = SampleFacts();
    facts.fileVersion.reset();
    facts.networkSupport = 1;
    const auto lines = HeaderLines(facts);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[6], "FileVersion: UNKNOWN");
    EXPECT_EQ(lines[7], "No Zentaro products found");
    EXPECT_EQ(lines[8], "installation: NETWORK");
    facts.networkSupport.reset();
    EXPECT_EQ(HeaderLines(facts)[8], "installation: NETWORK");
}

TEST(TraceFileHeader, GatheredTextsCannotEndTheHeader) {
    TraceHeaderFacts facts = SampleFacts();
    facts.machineName = "evil\r\n.\r\n";
    facts.products = {{"p\r\n.", "v\n", 0, 0}};
    const auto lines = HeaderLines(facts);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[4], "Machine name: evil??.??");
    EXPECT_EQ(lines[7], "Product: p??.; Version: v?");
}

TEST(TraceDump, ShowsEachRecordOnOneLine) {
    EXPECT_EQ(TraceRecordLine({0, 4242, '>', "A::B"}), "4242 > A::B");
    EXPECT_EQ(TraceRecordLine({0, 1, '<', ""}), "1 < ");
    EXPECT_EQ(TraceRecordLine({0, 1, 'U', "a\nb\t\\c\x01\x7f\xCE\xA9"}),
              "1 U a\\nb\\t\\\\c\\x01\\x7F\xCE\xA9");
    EXPECT_EQ(TraceRecordLine({0, 1, '\0', "x"}), "1 \\x00 x");
}

TEST(TraceDump, NamesTheProblemOfAnIncompleteFile) {
    TraceFileBuilder builder;
    builder.Add(1, '>', "A::B");
    builder.File().pop_back();
    const TraceFile file = ReadTraceFile(builder.File());
    EXPECT_EQ(TraceFileProblem(file), "truncated record at offset 29: 10 of 11 bytes");
    EXPECT_EQ(TraceFileProblem(ReadTraceFile(BytesOf("trace3\r\n.\r\n"))), "");
}

}  // namespace
}  // namespace core
