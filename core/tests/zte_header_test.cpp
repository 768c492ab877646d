#include <gtest/gtest.h>

#include "byte_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/container/memory_stream.h"
#include "core/container/stored_name.h"
#include "core/container/zte_header.h"
#include "core/text/utf8.h"

namespace core {
namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;
using Blocks = std::vector<std::pair<std::uint16_t, Bytes>>;  // the shape ParsedHeader keeps

Blocks StandardBlocks(std::string_view name, Bytes encryptionType = {kPrimaryKeyType}) {
    return {
        {kChecksumBlock, Bytes(8)}, {kFileNameBlock, BytesOf(name)}, {kEncryptionTypeBlock, encryptionType}};
}

std::vector<BlockView> Views(const Blocks& blocks) {
    std::vector<BlockView> views;
    for (const auto& [type, data] : blocks) views.push_back({type, data});
    return views;
}

// What a writer produces for these blocks; a crafted header size replaces the computed one.
Bytes Written(const Blocks& blocks, std::optional<std::uint16_t> headerSize = std::nullopt) {
    const auto views = Views(blocks);
    MemorySink sink;
    WriteHeader(sink, headerSize ? *headerSize : HeaderSizeOf(views), views);
    return sink.Bytes();
}

ParsedHeader Parsed(const Bytes& file) {
    MemorySource source(file);
    return ParseHeader(source);
}

std::optional<AcceptedHeader> Accepted(const Bytes& file) {
    return AcceptHeader(Parsed(file));
}

// Table cases are named and printed by the behaviour they pin, not dumped as bytes.
template <class Case>
std::string Behaviour(const testing::TestParamInfo<Case>& info) {
    return info.param.behaviour;
}

template <class Case>
requires requires(const Case& testCase) {
    testCase.behaviour;
}
void PrintTo(const Case& testCase, std::ostream* out) {
    *out << testCase.behaviour;
}

TEST(HeaderLayout, TenCharacterNamePutsEveryFieldAtItsOffset) {
    Blocks blocks = StandardBlocks("report.txt");
    blocks[0].second = BytesOf("\x01\x02\x03\x04\x05\x06\x07\x08");
    const auto views = Views(blocks);
    const Bytes file = Written(blocks);

    EXPECT_EQ(HeaderSizeOf(views), 39);
    EXPECT_EQ(file, BytesOf("ZTFE\x27\0"s
                            "\1\0\x08\0"s
                            "\1\2\3\4\5\6\7\x08"s
                            "\2\0\x0A\0"s
                            "report.txt"s
                            "\3\0\1\0\1"s
                            "\0\0"s));
    EXPECT_EQ(BlockOffsetOf(views, kChecksumBlock), 6);
    EXPECT_EQ(BlockOffsetOf(views, kEncryptionTypeBlock), 32);
    EXPECT_EQ(BlockOffsetOf(views, 7), 0);
}

TEST(HeaderLayout, ChecksumIsLowHalfThenHighHalfLittleEndian) {
    const auto data = EncodeChecksum(0x0123456789ABCDEFull);
    EXPECT_EQ(Bytes(data.begin(), data.end()), BytesOf("\xEF\xCD\xAB\x89\x67\x45\x23\x01"));
    EXPECT_EQ(DecodeChecksum(data), 0x0123456789ABCDEFull);
}

TEST(HeaderLayout, HeaderSizeMustFitSixteenBits) {
    EXPECT_EQ(HeaderSizeOf(Views({{kFileNameBlock, Bytes(0xFFFF - 12)}})), 0xFFFF);
    EXPECT_THROW(HeaderSizeOf(Views({{kFileNameBlock, Bytes(0xFFFF - 11)}})), std::length_error);
}

TEST(HeaderRoundTrip, WrittenBlocksParseBackUnchanged) {
    Blocks blocks = StandardBlocks("a.txt");
    blocks[0].second = BytesOf("\xEF\xCD\xAB\x89\x67\x45\x23\x01");
    blocks.push_back({7, BytesOf("extra")});
    const ParsedHeader parsed = Parsed(Written(blocks));

    EXPECT_EQ(parsed.result, ReadResult::Ok);
    EXPECT_EQ(parsed.headerSize, 34 + 9);
    EXPECT_EQ(parsed.blocks, blocks);
    const auto accepted = AcceptHeader(parsed);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->checksum, 0x0123456789ABCDEFull);
}

TEST(HeaderRoundTrip, NonAsciiNameSurvivesUtf8) {
    const auto accepted = Accepted(Written(StandardBlocks("Übersicht – café 😀.txt")));
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->fileName, u"Übersicht – café 😀.txt");
}

TEST(HeaderReader, KeepsTheFirstBlockOfEachTypeInTypeOrder) {
    const Blocks blocks{{3, {2}}, {1, Bytes(8)}, {2, BytesOf("first")}, {2, BytesOf("second")}, {3, {1}}};
    const Bytes file = Written(blocks);
    const ParsedHeader parsed = Parsed(file);

    EXPECT_EQ(parsed.result, ReadResult::Ok);
    EXPECT_EQ(parsed.blocks, (Blocks{{1, Bytes(8)}, {2, BytesOf("first")}, {3, {2}}}));
    const auto accepted = AcceptHeader(parsed);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->fileName, u"first");
    EXPECT_TRUE(accepted->useCompatibilityKey);
}

TEST(HeaderReader, BlocksOutliveTheBytesTheyWereReadFrom) {
    Bytes file = Written(StandardBlocks("a.txt", {2}));
    const ParsedHeader parsed = Parsed(file);
    std::fill(file.begin(), file.end(), std::uint8_t{0xAA});

    EXPECT_EQ(parsed.blocks, StandardBlocks("a.txt", {2}));
}

TEST(HeaderReader, HeaderSizeBeyondTerminatorIsKept) {
    Bytes file = Written(StandardBlocks("a.txt"), 100);
    file.resize(120, 0xAA);
    const auto accepted = Accepted(file);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->headerSize, 100);
}

TEST(HeaderReader, HeaderCutAtBlockBoundaryReadsAsTerminated) {
    const Blocks blocks = StandardBlocks("report.txt");
    Bytes file = Written(blocks);
    file.resize(32);  // where block 3 would start
    const ParsedHeader parsed = Parsed(file);

    EXPECT_EQ(parsed.result, ReadResult::Ok);
    EXPECT_EQ(parsed.blocks, Blocks(blocks.begin(), blocks.begin() + 2));
}

TEST(HeaderReader, BlockCutShortKeepsZerosAndOnlyConsumedBytesCountAgainstHeaderSize) {
    Bytes file = Written({{kChecksumBlock, Bytes(8)}, {kFileNameBlock, BytesOf("abc")}});
    file[20] = 0xE8;  // the name claims 1000 bytes; the file ends after its first 3
    file[21] = 0x03;
    file.resize(25);
    const ParsedHeader parsed = Parsed(file);

    EXPECT_EQ(parsed.result, ReadResult::Ok);
    Bytes name(1000);
    std::copy_n("abc", 3, name.begin());
    ASSERT_TRUE(parsed.Find(kFileNameBlock));
    EXPECT_EQ(*parsed.Find(kFileNameBlock), name);
    const auto accepted = AcceptHeader(parsed);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->fileName, u"abc");
}

struct ReadCase {
    const char* behaviour;
    Bytes file;
    ReadResult result;
};

class HeaderReadResults : public testing::TestWithParam<ReadCase> {};

TEST_P(HeaderReadResults, ClassifyTheFile) {
    EXPECT_EQ(Parsed(GetParam().file).result, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Container, HeaderReadResults,
    testing::Values(ReadCase{"EmptyFile", {}, ReadResult::NotEncrypted},
                    ReadCase{"ThreeBytesOfMagic", BytesOf("ZTF"), ReadResult::NotEncrypted},
                    ReadCase{"OtherMagic", BytesOf("ZTFX\x27\0\0\0"s), ReadResult::NotEncrypted},
                    ReadCase{"HeaderSizeEndsInsideTerminator", Written(StandardBlocks("report.txt"), 38),
                             ReadResult::NotAccepted},
                    ReadCase{"HeaderSizeEndsAtTerminator", Written(StandardBlocks("report.txt"), 39),
                             ReadResult::Ok}),
    Behaviour<ReadCase>);

struct AcceptanceCase {
    const char* behaviour;
    Blocks blocks;
    std::optional<bool> compatibilityKey;  // nothing: the header is not accepted
};

class HeaderAcceptance : public testing::TestWithParam<AcceptanceCase> {};

TEST_P(HeaderAcceptance, DecidesAcceptanceAndKey) {
    const auto accepted = Accepted(Written(GetParam().blocks));
    EXPECT_EQ(accepted ? std::optional(accepted->useCompatibilityKey) : std::nullopt,
              GetParam().compatibilityKey);
}

const Bytes kZeroChecksum(8);
const Bytes kName = BytesOf("a.txt");

INSTANTIATE_TEST_SUITE_P(
    Container, HeaderAcceptance,
    testing::Values(
        AcceptanceCase{"TypeByte1SelectsPrimary", {{1, kZeroChecksum}, {2, kName}, {3, {1}}}, false},
        AcceptanceCase{"NoBlock3SelectsPrimary", {{1, kZeroChecksum}, {2, kName}}, false},
        AcceptanceCase{"TypeByte2SelectsCompatibility", {{1, kZeroChecksum}, {2, kName}, {3, {2}}}, true},
        AcceptanceCase{"TypeByte0SelectsCompatibility", {{1, kZeroChecksum}, {2, kName}, {3, {0}}}, true},
        AcceptanceCase{"TwoByteBlock3SelectsPrimary", {{1, kZeroChecksum}, {2, kName}, {3, {2, 2}}}, false},
        AcceptanceCase{"EmptyBlock3SelectsPrimary", {{1, kZeroChecksum}, {2, kName}, {3, {}}}, false},
        AcceptanceCase{
            "UnknownBlock7IsIgnored", {{1, kZeroChecksum}, {2, kName}, {3, {2}}, {7, {9, 9}}}, true},
        AcceptanceCase{"SevenByteChecksum", {{1, Bytes(7)}, {2, kName}}, std::nullopt},
        AcceptanceCase{"NineByteChecksum", {{1, Bytes(9)}, {2, kName}}, std::nullopt},
        AcceptanceCase{"NoChecksum", {{2, kName}, {3, {1}}}, std::nullopt},
        AcceptanceCase{"NoFileName", {{1, kZeroChecksum}, {3, {1}}}, std::nullopt}),
    Behaviour<AcceptanceCase>);

struct NameCase {
    const char* behaviour;
    std::string stored;
    std::optional<std::u16string> accepted;  // nothing: the header is not accepted
};

class StoredNameAcceptance : public testing::TestWithParam<NameCase> {};

TEST_P(StoredNameAcceptance, OnlyAPlainFinalPathComponentIsAccepted) {
    const auto accepted = Accepted(Written(StandardBlocks(GetParam().stored)));
    EXPECT_EQ(accepted ? std::optional(accepted->fileName) : std::nullopt, GetParam().accepted);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Container, StoredNameAcceptance, testing::Values(
    NameCase{"PlainName", "report.txt", u"report.txt"},
    NameCase{"LeadingDots", "..a", u"..a"},
    NameCase{"HiddenName", ".hidden", u".hidden"},
    NameCase{"ZeroByteEndsName", "abc\0def"s, u"abc"},
    NameCase{"ParentPath", "..\\..\\x", std::nullopt},
    NameCase{"Slash", "a/b", std::nullopt},
    NameCase{"DriveRelative", "C:x", std::nullopt},
    NameCase{"ParentDirectory", "..", std::nullopt},
    NameCase{"CurrentDirectory", ".", std::nullopt},
    NameCase{"ControlCharacter", "a\x01" "b", std::nullopt},
    NameCase{"Delete", "a\x7F", std::nullopt},
    NameCase{"Empty", "", std::nullopt},
    NameCase{"EmptyBeforeZeroByte", "\0abc"s, std::nullopt},
    // Names Windows cannot hold as a plain file.
    NameCase{"Asterisk", "*", std::nullopt},
    NameCase{"QuestionMark", "a?.txt", std::nullopt},
    NameCase{"AngleBrackets", "a<b>", std::nullopt},
    NameCase{"Pipe", "a|b", std::nullopt},
    NameCase{"Quote", "a\"b", std::nullopt},
    NameCase{"NullDevice", "NUL", std::nullopt},
    NameCase{"NullDeviceWithExtension", "nul.txt", std::nullopt},
    NameCase{"ConsoleWithTwoExtensions", "Con.tar.gz", std::nullopt},
    NameCase{"PortWithSpaceBeforeExtension", "COM1 .log", std::nullopt},
    NameCase{"PrinterPort", "lpt9", std::nullopt},
    NameCase{"PortWithSuperscriptDigit", "COM\xC2\xB9", std::nullopt},
    NameCase{"ConsoleInput", "CONIN$", std::nullopt},
    NameCase{"AuxAndPrn", "aux.c", std::nullopt},
    NameCase{"TrailingDot", "report.", std::nullopt},
    NameCase{"TrailingSpace", "report.txt ", std::nullopt},
    NameCase{"OnlyDots", "...", std::nullopt},
    NameCase{"DeviceNameInsideAName", "NULL.txt", u"NULL.txt"},
    NameCase{"PortWithoutDigit", "COM.txt", u"COM.txt"},
    NameCase{"PortWithTwoDigits", "COM10", u"COM10"},
    NameCase{"DeviceNameAfterADot", "x.nul", u"x.nul"},
    NameCase{"InnerSpaceAndDot", "a b.c d", u"a b.c d"}),
    Behaviour<NameCase>);
// clang-format on

struct VerdictCase {
    const char* behaviour;
    Bytes file;
    HeaderVerdict verdict;
    std::u16string storedName;
};

class HeaderVerdicts : public testing::TestWithParam<VerdictCase> {};

TEST_P(HeaderVerdicts, NameWhyAHeaderIsTurnedDown) {
    const HeaderJudgement judgement = JudgeHeader(Parsed(GetParam().file));
    EXPECT_EQ(judgement.verdict, GetParam().verdict);
    EXPECT_EQ(judgement.storedName, GetParam().storedName);
    EXPECT_EQ(judgement.header.has_value(), GetParam().verdict == HeaderVerdict::Accepted);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Container, HeaderVerdicts, testing::Values(
    VerdictCase{"Accepted", Written(StandardBlocks("a.txt")), HeaderVerdict::Accepted, u"a.txt"},
    VerdictCase{"OtherMagic", BytesOf("ZTFX\x27\0\0\0"s), HeaderVerdict::NotEncrypted, u""},
    VerdictCase{"BlocksPastHeaderSize", Written(StandardBlocks("a.txt"), 20), HeaderVerdict::Damaged, u""},
    VerdictCase{"NoChecksum", Written({{kFileNameBlock, BytesOf("a.txt")}}), HeaderVerdict::Damaged, u"a.txt"},
    VerdictCase{"NoName", Written({{kChecksumBlock, Bytes(8)}}), HeaderVerdict::Damaged, u""},
    VerdictCase{"EmptyName", Written({{kChecksumBlock, Bytes(8)}, {kFileNameBlock, {}}}), HeaderVerdict::Damaged, u""},
    VerdictCase{"NameLeavingTheFolder", Written(StandardBlocks("../x")), HeaderVerdict::NameRefused, u"../x"},
    VerdictCase{"NameOfZeroBytes", Written(StandardBlocks("\0\0"s)), HeaderVerdict::NameRefused, u""}),
    Behaviour<VerdictCase>);
// clang-format on

TEST(StandardHeader, IsTheLayoutWithAZeroChecksumAndSaysWhereTheChecksumGoes) {
    const StandardHeader header = BuildStandardHeader(BytesOf("report.txt"), kPrimaryKeyType);
    EXPECT_EQ(header.bytes, Written(StandardBlocks("report.txt")));
    EXPECT_EQ(header.checksumOffset, 10);
    const auto accepted = Accepted(BuildStandardHeader(BytesOf("old.doc"), 2).bytes);
    ASSERT_TRUE(accepted);
    EXPECT_TRUE(accepted->useCompatibilityKey);
}

TEST(StandardHeader, EmptyNameIsWrittenAsAnEmptyBlockThatNoReaderAccepts) {
    const ParsedHeader parsed = Parsed(BuildStandardHeader({}, 2).bytes);
    EXPECT_EQ(parsed.blocks, StandardBlocks("", {2}));
    EXPECT_EQ(JudgeHeader(parsed).verdict, HeaderVerdict::Damaged);
}

struct WritableCase {
    const char* behaviour;
    std::string name;
    bool writable;
};

class WritableNames : public testing::TestWithParam<WritableCase> {};

TEST_P(WritableNames, OnlyNamesThatReadBackUnchangedMayBeStored) {
    EXPECT_EQ(IsWritableStoredName(GetParam().name), GetParam().writable);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Container, WritableNames, testing::Values(
    WritableCase{"PlainName", "report.txt", true},
    WritableCase{"NonAscii", "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80.txt", true},
    WritableCase{"InvalidUtf8", "caf\xE9.txt", false},
    WritableCase{"Overlong", "\xC0\xAF", false},
    WritableCase{"ZeroByte", "a\0b"s, false},
    WritableCase{"Backslash", "a\\b", false},
    WritableCase{"Colon", "a:b", false},
    WritableCase{"Empty", "", false}),
    Behaviour<WritableCase>);
// clang-format on

struct Utf8Case {
    const char* behaviour;
    std::string utf8;
    std::u16string utf16;
};

class StoredNameDecoding : public testing::TestWithParam<Utf8Case> {};

TEST_P(StoredNameDecoding, DecodesStrictlyWithOneReplacementPerBrokenSequence) {
    EXPECT_EQ(StoredNameFromUtf8(BytesOf(GetParam().utf8)), GetParam().utf16);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Utf8, StoredNameDecoding, testing::Values(
    Utf8Case{"TwoAndThreeBytes", "\xC3\xA9\xE2\x82\xAC", u"é€"},
    Utf8Case{"SupplementaryBecomesPair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
    Utf8Case{"HighestCodePoint", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
    Utf8Case{"OverlongTwoBytes", "\xC0\xAF", u"\xFFFD\xFFFD"},
    Utf8Case{"OverlongThreeBytes", "\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},
    Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
    Utf8Case{"AboveHighestCodePoint", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
    Utf8Case{"InvalidLeadByte", "\xF5\x80", u"\xFFFD\xFFFD"},
    Utf8Case{"LoneContinuation", "a\x80z", u"a\xFFFDz"},
    Utf8Case{"CutAtEnd", "\xE2\x82", u"\xFFFD"},
    Utf8Case{"CutByAscii", "\xE2\x82z", u"\xFFFDz"},
    Utf8Case{"FourByteCutByAscii", "\xF0\x9F\x98z", u"\xFFFDz"},
    Utf8Case{"StopsAtZeroByte", "a\0\xFF"s, u"a"}),
    Behaviour<Utf8Case>);
// clang-format on

// The text ends where its view ends, not where the units in memory do.
TEST(StoredNameEncoding, AHighSurrogateEndingItsTextIsReplacedWhateverFollowsInMemory) {
    const std::u16string units{u'a', char16_t(0xD800), char16_t(0xDC00)};
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(units).substr(0, 2)), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace core
