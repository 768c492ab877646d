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

// The checksum is the low half then the high half, little-endian; the header size must fit 16 bits.
TEST(HeaderLayout, ChecksumIsLittleEndianAndHeaderSizeMustFitSixteenBits) {
    const auto data = EncodeChecksum(0x0123456789ABCDEFull);
    EXPECT_EQ(Bytes(data.begin(), data.end()), BytesOf("\xEF\xCD\xAB\x89\x67\x45\x23\x01"));
    EXPECT_EQ(DecodeChecksum(data), 0x0123456789ABCDEFull);
    EXPECT_EQ(HeaderSizeOf(Views({{kFileNameBlock, Bytes(0xFFFF - 12)}})), 0xFFFF);
    EXPECT_THROW(HeaderSizeOf(Views({{kFileNameBlock, Bytes(0xFFFF - 11)}})), std::length_error);
}

// Written blocks parse back unchanged, and a name beyond ASCII survives UTF-8.
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
    const auto nonAscii = Accepted(Written(StandardBlocks("Übersicht – café 😀.txt")));
    ASSERT_TRUE(nonAscii);
    EXPECT_EQ(nonAscii->fileName, u"Übersicht – café 😀.txt");
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

// What the reader makes of the file, and why a header is turned down: the name it stored is
// kept for the report whenever it could be read.
TEST(HeaderJudgement, ClassifiesTheFileAndNamesWhyAHeaderIsTurnedDown) {
    const struct {
        const char* behaviour;
        Bytes file;
        ReadResult result;
        HeaderVerdict verdict;
        std::u16string storedName;
    } cases[] = {
        {"EmptyFile", {}, ReadResult::NotEncrypted, HeaderVerdict::NotEncrypted, u""},
        {"ThreeBytesOfMagic", BytesOf("ZTF"), ReadResult::NotEncrypted, HeaderVerdict::NotEncrypted, u""},
        {"OtherMagic", BytesOf("ZTFX\x27\0\0\0"s), ReadResult::NotEncrypted, HeaderVerdict::NotEncrypted,
         u""},
        {"HeaderSizeEndsInsideTerminator", Written(StandardBlocks("report.txt"), 38), ReadResult::NotAccepted,
         HeaderVerdict::Damaged, u""},
        {"HeaderSizeEndsAtTerminator", Written(StandardBlocks("report.txt"), 39), ReadResult::Ok,
         HeaderVerdict::Accepted, u"report.txt"},
        {"BlocksPastHeaderSize", Written(StandardBlocks("a.txt"), 20), ReadResult::NotAccepted,
         HeaderVerdict::Damaged, u""},
        {"NoChecksum", Written({{kFileNameBlock, BytesOf("a.txt")}}), ReadResult::Ok, HeaderVerdict::Damaged,
         u"a.txt"},
        {"NoName", Written({{kChecksumBlock, Bytes(8)}}), ReadResult::Ok, HeaderVerdict::Damaged, u""},
        {"EmptyName", Written({{kChecksumBlock, Bytes(8)}, {kFileNameBlock, {}}}), ReadResult::Ok,
         HeaderVerdict::Damaged, u""},
        {"NameLeavingTheFolder", Written(StandardBlocks("../x")), ReadResult::Ok, HeaderVerdict::NameRefused,
         u"../x"},
        {"NameOfZeroBytes", Written(StandardBlocks("\0\0"s)), ReadResult::Ok, HeaderVerdict::NameRefused,
         u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        const ParsedHeader parsed = Parsed(c.file);
        EXPECT_EQ(parsed.result, c.result);
        const HeaderJudgement judgement = JudgeHeader(parsed);
        EXPECT_EQ(judgement.verdict, c.verdict);
        EXPECT_EQ(judgement.storedName, c.storedName);
        EXPECT_EQ(judgement.header.has_value(), c.verdict == HeaderVerdict::Accepted);
    }
}

// Block 3 selects the compatibility key only when it holds one byte other than 1.
TEST(HeaderAcceptance, DecidesAcceptanceAndKey) {
    const Bytes kZeroChecksum(8);
    const Bytes kName = BytesOf("a.txt");
    const struct {
        const char* behaviour;
        Blocks blocks;
        std::optional<bool> compatibilityKey;  // nothing: the header is not accepted
    } cases[] = {
        {"TypeByte1SelectsPrimary", {{1, kZeroChecksum}, {2, kName}, {3, {1}}}, false},
        {"NoBlock3SelectsPrimary", {{1, kZeroChecksum}, {2, kName}}, false},
        {"TypeByte2SelectsCompatibility", {{1, kZeroChecksum}, {2, kName}, {3, {2}}}, true},
        {"TypeByte0SelectsCompatibility", {{1, kZeroChecksum}, {2, kName}, {3, {0}}}, true},
        {"TwoByteBlock3SelectsPrimary", {{1, kZeroChecksum}, {2, kName}, {3, {2, 2}}}, false},
        {"EmptyBlock3SelectsPrimary", {{1, kZeroChecksum}, {2, kName}, {3, {}}}, false},
        {"UnknownBlock7IsIgnored", {{1, kZeroChecksum}, {2, kName}, {3, {2}}, {7, {9, 9}}}, true},
        {"SevenByteChecksum", {{1, Bytes(7)}, {2, kName}}, std::nullopt},
        {"NineByteChecksum", {{1, Bytes(9)}, {2, kName}}, std::nullopt},
        {"NoChecksum", {{2, kName}, {3, {1}}}, std::nullopt},
        {"NoFileName", {{1, kZeroChecksum}, {3, {1}}}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto accepted = Accepted(Written(c.blocks));
        EXPECT_EQ(accepted ? std::optional(accepted->useCompatibilityKey) : std::nullopt, c.compatibilityKey)
            << c.behaviour;
    }
}

std::optional<std::u16string> AcceptedName(const std::string& stored) {
    const auto accepted = Accepted(Written(StandardBlocks(stored)));
    return accepted ? std::optional(accepted->fileName) : std::nullopt;
}

TEST(StoredNameAcceptance, OnlyAPlainFinalPathComponentIsAccepted) {
    const std::pair<std::string, std::u16string> kept[] = {
        {"report.txt", u"report.txt"}, {"..a", u"..a"},         {".hidden", u".hidden"},
        {"abc\0def"s, u"abc"},  // a zero byte ends the name
        {"NULL.txt", u"NULL.txt"},     {"COM.txt", u"COM.txt"}, {"COM10", u"COM10"},
        {"x.nul", u"x.nul"},           {"a b.c d", u"a b.c d"},
    };
    for (const auto& [stored, name] : kept) EXPECT_EQ(AcceptedName(stored), name) << stored;
    const std::string refused[] = {
        // Paths, control characters, nothing before a zero byte.
        "..\\..\\x",
        "a/b",
        "C:x",
        "..",
        ".",
        "a\x01"
        "b",
        "a\x7F",
        "",
        "\0abc"s,
        // Names Windows cannot hold as a plain file: reserved characters, device names with or
        // without extensions (a superscript digit counts), trailing dots and spaces.
        "*",
        "a?.txt",
        "a<b>",
        "a|b",
        "a\"b",
        "NUL",
        "nul.txt",
        "Con.tar.gz",
        "COM1 .log",
        "lpt9",
        "COM\xC2\xB9",
        "CONIN$",
        "aux.c",
        "report.",
        "report.txt ",
        "...",
    };
    for (const std::string& stored : refused) EXPECT_EQ(AcceptedName(stored), std::nullopt) << stored;
}

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

TEST(WritableNames, OnlyNamesThatReadBackUnchangedMayBeStored) {
    EXPECT_TRUE(IsWritableStoredName("report.txt"));
    EXPECT_TRUE(
        IsWritableStoredName("Gr\xC3\xBC\xC3\x9F"
                             "e \xF0\x9F\x98\x80.txt"));
    // Invalid or overlong UTF-8, a zero byte, a backslash, a colon, nothing.
    for (const std::string& name : {"caf\xE9.txt"s, "\xC0\xAF"s, "a\0b"s, "a\\b"s, "a:b"s, ""s})
        EXPECT_FALSE(IsWritableStoredName(name)) << name;
}

TEST(StoredNameDecoding, DecodesStrictlyWithOneReplacementPerBrokenSequence) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"\xC3\xA9\xE2\x82\xAC", u"é€"},
        {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},  // a supplementary character becomes a pair
        {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},  // the highest code point
        {"\xC0\xAF", u"\xFFFD\xFFFD"},          // overlong
        {"\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},
        {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},            // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // above the highest code point
        {"\xF5\x80", u"\xFFFD\xFFFD"},                      // an invalid lead byte
        {"a\x80z", u"a\xFFFDz"},                            // a lone continuation
        {"\xE2\x82", u"\xFFFD"},                            // cut at the end
        {"\xE2\x82z", u"\xFFFDz"},                          // cut by ASCII
        {"\xF0\x9F\x98z", u"\xFFFDz"},
        {"a\0\xFF"s, u"a"},  // stops at a zero byte
    };
    for (const auto& [utf8, utf16] : cases)
        EXPECT_EQ(StoredNameFromUtf8(BytesOf(utf8)), utf16) << Hex(BytesOf(utf8));
}

// The text ends where its view ends, not where the units in memory do.
TEST(StoredNameEncoding, AHighSurrogateEndingItsTextIsReplacedWhateverFollowsInMemory) {
    const std::u16string units{u'a', char16_t(0xD800), char16_t(0xDC00)};
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(units).substr(0, 2)), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace core
