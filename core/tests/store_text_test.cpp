// The text work behind the decrypted-items file: character references, the removal of a
// serialiser's indentation, and stored times.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/char_refs.h"
#include "core/text/unix_time.h"
#include "core/text/xml_indentation.h"

namespace core {
namespace {

Latin1Coverage AllOfLatin1() {
    return Latin1Coverage().set();
}

// Windows-1252 lacks U+0080..U+009F except the five code points it maps to themselves.
Latin1Coverage Windows1252() {
    Latin1Coverage kept = AllOfLatin1();
    for (char16_t c = 0x80; c <= 0x9F; ++c) kept.reset(c - 0x80);
    for (char16_t c : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) kept.set(c - 0x80);
    return kept;
}

struct EncodeCase {
    std::u16string_view text;
    std::u16string_view western;
    std::u16string_view noLatin1;
};

const EncodeCase kEncodeCases[] = {
    {u"<a b=\"&amp;\">x</a>", u"<a b=\"&amp;\">x</a>", u"<a b=\"&amp;\">x</a>"},
    {u"caf\u00E9", u"caf\u00E9", u"caf&#x00E9;"},
    {u"\u00FF\u0100", u"\u00FF&#x0100;", u"&#x00FF;&#x0100;"},
    {u"\u0080\u0081", u"&#x0080;\u0081", u"&#x0080;&#x0081;"},
    {u"\u03A9", u"&#x03A9;", u"&#x03A9;"},
    {u"\uFFFD", u"&#xFFFD;", u"&#xFFFD;"},
    {u"a\U0001F600b", u"a&#x1F600;b", u"a&#x1F600;b"},
    {u"\U0010FFFF", u"&#x10FFFF;", u"&#x10FFFF;"},
};

TEST(CharRefs, EncodeKeepsWhatTheCodePageCarriesAndReferencesTheRest) {
    for (const EncodeCase& c : kEncodeCases) {
        EXPECT_EQ(EncodeCharRefs(c.text, Windows1252()), c.western);
        EXPECT_EQ(EncodeCharRefs(c.text, Latin1Coverage()), c.noLatin1);
    }
}

TEST(CharRefs, CharactersXmlCannotCarryBecomeTheReplacementCharacter) {
    const std::u16string loneHigh{u'a', char16_t(0xD83D), u'b'};
    const std::u16string loneLowThenHighAtEnd{char16_t(0xDE00), char16_t(0xD800)};
    const std::u16string nonCharacters{char16_t(0xFFFE), char16_t(0xFFFF)};
    EXPECT_EQ(EncodeCharRefs(loneHigh, AllOfLatin1()), u"a&#xFFFD;b");
    EXPECT_EQ(EncodeCharRefs(loneLowThenHighAtEnd, AllOfLatin1()), u"&#xFFFD;&#xFFFD;");
    EXPECT_EQ(EncodeCharRefs(nonCharacters, AllOfLatin1()), u"&#xFFFD;&#xFFFD;");
}

TEST(CharRefs, DecodeTurnsReferencesFrom80UpIntoCharacters) {
    EXPECT_EQ(DecodeCharRefs(u"&#xE9;&#233;&#x00e9;"), u"\u00E9\u00E9\u00E9");
    EXPECT_EQ(DecodeCharRefs(u"<a n=\"&#x1F600;\"/>"), u"<a n=\"\U0001F600\"/>");
    EXPECT_EQ(DecodeCharRefs(u"&#x80;&#x10FFFF;"), u"\u0080\U0010FFFF");
}

TEST(CharRefs, DecodeLeavesMarkupAndReferencesXmlRefuses) {
    for (std::u16string_view kept :
         {u"&#x3C;&#60;&#10;&#x7F;", u"&amp;#xE9;", u"&#xD800;&#xDFFF;&#xFFFE;&#x110000;",
          u"&#x99999999999999999999;", u"&#x;&#;&#xE9&#XE9;&#xG9;", u"&#", u"&"}) {
        EXPECT_EQ(DecodeCharRefs(kept), kept);
    }
}

TEST(CharRefs, EncodedTextDecodesToTheOriginal) {
    const std::u16string text = u"<i n=\"\u00E9\u00FF\u0080 \u03A9\U0001F600&amp;\">C:\\\u4E2D</i>";
    for (const Latin1Coverage& kept : {AllOfLatin1(), Windows1252(), Latin1Coverage()}) {
        const std::u16string encoded = EncodeCharRefs(text, kept);
        EXPECT_EQ(DecodeCharRefs(encoded), text);
        EXPECT_EQ(EncodeCharRefs(DecodeCharRefs(encoded), kept), encoded);
    }
}

TEST(XmlIndentation, IndentationBetweenElementsIsRemoved) {
    const std::u16string_view indented =
        u"<Root>\r\n\t<List>\r\n\t\t<item name=\"a\" folder=\"0\">\r\n\t\t\t<path>C:\\x</path>\r\n"
        u"\t\t\t<t>1</t>\r\n\t\t</item>\r\n\t\t<item/>\r\n\t</List>\r\n</Root>\r\n";
    EXPECT_EQ(
        RemoveIndentation(indented),
        u"<Root><List><item name=\"a\" folder=\"0\"><path>C:\\x</path><t>1</t></item><item/></List></Root>");
}

TEST(XmlIndentation, DataStaysAsItIs) {
    for (std::u16string_view kept :
         {u"<p> </p>", u"<p>\t\r\n</p>", u"<p> a b </p>", u"<i n=\" > \"><p>x</p></i>", u"<i n=' \"> '/>",
          u"<!-- a > b --><p/>", u"<?pi > ?><p/>", u"<p><![CDATA[ > ]]></p>", u"<p>a<b/> c</p>"}) {
        EXPECT_EQ(RemoveIndentation(kept), kept);
    }
}

// White space around any markup goes; markup left open ends the text as it stands.
TEST(XmlIndentation, WhiteSpaceAroundOtherMarkupIsRemovedAndUnterminatedMarkupEndsTheText) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"<a>\n<b/>\n</a>", u"<a><b/></a>"},
        {u"<a>\n<!-- c -->\n<b x=\"1\" />\n</a>\n", u"<a><!-- c --><b x=\"1\" /></a>"},
        {u"<a><b>x</b>\n</a>", u"<a><b>x</b></a>"},
        {u"<a>\n<b n=\"x>", u"<a><b n=\"x>"},
        {u"<a>\n<!-- x", u"<a><!-- x"},
    };
    for (const auto& [text, removed] : cases) EXPECT_EQ(RemoveIndentation(text), removed);
}

constexpr std::uint64_t kEpoch = 116444736000000000;  // 1970-01-01 as a FILETIME
constexpr std::uint64_t kSecond = 10'000'000;

// File times truncate to seconds within the 32-bit range; seconds convert back exactly.
TEST(UnixTime, FileTimesTruncateToSecondsWithinThe32BitRangeAndConvertBack) {
    EXPECT_EQ(FileTimeToUnixSeconds(kEpoch), 0u);
    EXPECT_EQ(FileTimeToUnixSeconds(kEpoch + 1700000000 * kSecond + kSecond - 1), 1700000000u);
    EXPECT_EQ(FileTimeToUnixSeconds(kEpoch - 1), 0u);
    EXPECT_EQ(FileTimeToUnixSeconds(kEpoch + 4294967295 * kSecond), 4294967295u);
    EXPECT_EQ(FileTimeToUnixSeconds(kEpoch + 4294967296 * kSecond), 4294967295u);
    EXPECT_EQ(UnixSecondsToFileTime(0), kEpoch);
    EXPECT_EQ(UnixSecondsToFileTime(1700000000), kEpoch + 1700000000 * kSecond);
    EXPECT_EQ(UnixSecondsToFileTime(4294967295u), kEpoch + 4294967295 * kSecond);
}

TEST(UnixTime, OnlyDecimalDigitsThatFit32BitsAreATime) {
    const struct {
        std::u16string_view text;
        std::optional<std::uint32_t> seconds;
    } cases[] = {
        {u"1700000000", 1700000000u},
        {u" 12\r\n", 12u},
        {u"0", 0u},
        {u"4294967295", 4294967295u},
        {u"4294967296", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"", std::nullopt},
        {u" ", std::nullopt},
        {u"-1", std::nullopt},
        {u"+5", std::nullopt},
        {u"12abc", std::nullopt},
        {u"1 2", std::nullopt},
        {u"0x10", std::nullopt},
        {u"\uFF11", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseUnixSeconds(c.text), c.seconds) << "case " << &c - cases;
}

}  // namespace
}  // namespace core
