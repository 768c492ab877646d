// The portable text pieces behind resource strings, reports, help, terminal lines and
// base64 input.
#include <gtest/gtest.h>

#include "byte_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/help/help_file_name.h"
#include "core/help/online_help_request.h"
#include "core/text/base64.h"
#include "core/text/decimal_number.h"
#include "core/text/escaped_text.h"
#include "core/text/extended_length_path.h"
#include "core/text/product_name.h"
#include "core/text/progress_line.h"
#include "core/text/string_table_block.h"
#include "core/text/text_format.h"
#include "core/text/utf8.h"

using namespace std::string_view_literals;

namespace {

TEST(FormatText, FillsStringConversionsInOrderAndNothingElse) {
    struct Case {
        std::u16string_view format;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"Could not open %s.", u"Could not open a.txt."},
        {u"%s\r\nReason: %ls", u"a.txt\r\nReason: Access denied."},
        {u"100%% of %s", u"100% of a.txt"},
        {u"%s %s %s", u"a.txt Access denied. "},  // a third conversion finds no argument
        {u"%d files, %08X", u"%d files, %08X"},   // other conversions are text, never read
        {u"ends in %", u"ends in %"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::FormatText(c.format, {u"a.txt", u"Access denied."}), c.expected);
    }
    // An argument holding conversions is inserted as it is.
    EXPECT_EQ(core::FormatText(u"Open %s?", {u"50%s %% done.txt"}), u"Open 50%s %% done.txt?");
}

TEST(TruncateText, CutsAtTheLimitButNeverInsideASurrogatePair) {
    EXPECT_EQ(core::TruncateText(u"abcdef", 4), u"abcd");
    EXPECT_EQ(core::TruncateText(u"abc", 4), u"abc");
    const std::u16string withEmoji = u"ab\U0001F600cd";  // a, b, high, low, c, d
    EXPECT_EQ(core::TruncateText(withEmoji, 3), u"ab");
    EXPECT_EQ(core::TruncateText(withEmoji, 4), u"ab\U0001F600");
}

// A name holding the placeholder itself is not expanded again.
TEST(ProductName, EveryPlaceholderIsReplacedAndOnlyTextsWithTheMarkNeedTheName) {
    EXPECT_EQ(core::InsertProductName(u"<<%PN%>> protects files. Ask <<%PN%>>.", u"Tapwise"),
              u"Tapwise protects files. Ask Tapwise.");
    EXPECT_EQ(core::InsertProductName(u"<<%PN%>><<%PN%>>", u"X"), u"XX");
    EXPECT_EQ(core::InsertProductName(u"no placeholder <<%", u"X"), u"no placeholder <<%");
    EXPECT_EQ(core::InsertProductName(u"[<<%PN%>>]", u"<<%PN%>>"), u"[<<%PN%>>]");
    EXPECT_TRUE(core::MayHoldPlaceholder(u"Welcome to <<%PN%>>"));
    EXPECT_TRUE(core::MayHoldPlaceholder(u"<<%"));
    EXPECT_FALSE(core::MayHoldPlaceholder(u"Files encrypted: %d"));
}

// A block as a resource compiler writes it: 16 length-prefixed entries.
std::vector<std::uint8_t> Block(const std::vector<std::u16string>& entries) {
    std::vector<std::uint8_t> bytes;
    auto unit = [&](char16_t u) {
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    };
    for (std::size_t i = 0; i < 16; ++i) {
        const std::u16string text = i < entries.size() ? entries[i] : u"";
        unit(static_cast<char16_t>(text.size()));
        for (char16_t u : text) unit(u);
    }
    return bytes;
}

TEST(StringTableBlock, FindsEachEntryWhateverItsLength) {
    const std::u16string longText(1000, u'x');
    const auto block = Block({u"zero", u"", longText, u"three"});
    EXPECT_EQ(core::StringTableEntry(block, 0), u"zero");
    EXPECT_EQ(core::StringTableEntry(block, 1), u"");
    EXPECT_EQ(core::StringTableEntry(block, 2), longText);
    EXPECT_EQ(core::StringTableEntry(block, 3), u"three");
    EXPECT_EQ(core::StringTableEntry(block, 15), u"");
    EXPECT_EQ(core::StringTableEntry(block, 16), std::nullopt);
}

TEST(StringTableBlock, ADamagedBlockGivesNothingInsteadOfReadingPastIt) {
    auto block = Block({u"zero", u"one"});
    block.resize(2 + 8 + 2 + 3);  // entry 1 cut in the middle of its text, odd length
    EXPECT_EQ(core::StringTableEntry(block, 0), u"zero");
    EXPECT_EQ(core::StringTableEntry(block, 1), std::nullopt);
    EXPECT_EQ(core::StringTableEntry(block, 5), std::nullopt);
    EXPECT_EQ(core::StringTableEntry({}, 0), std::nullopt);
}

TEST(HelpFileName, LanguagesWithoutTheirOwnHelpUseTheEnglishFile) {
    struct Case {
        std::uint16_t uiLanguage;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {0x0407, u"ztcrypt_0407.chm"},  // German
        {0x0807, u"ztcrypt_0407.chm"},  // Swiss German
        {0x0409, u"ztcrypt.chm"},       // English (United States)
        {0x0809, u"ztcrypt.chm"},       // English (United Kingdom)
        {0x0419, u"ztcrypt.chm"},       // Russian
        {0x0C0A, u"ztcrypt_040a.chm"},  // Spanish, modern sort
        {0x0804, u"ztcrypt_0804.chm"},  // Chinese (PRC) keeps its own
        {0x0C04, u"ztcrypt_0404.chm"},  // Chinese (Hong Kong) reads the traditional one
        {0x0816, u"ztcrypt_0816.chm"},  // Portuguese (Portugal) keeps its own
        {0x0411, u"ztcrypt_0411.chm"},  // Japanese
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::HelpFileName(u"ztcrypt", c.uiLanguage), c.expected) << std::hex << c.uiLanguage;
    }
}

TEST(LeadingInteger, ReadsSignAndDigitsAndIgnoresTheRest) {
    struct Case {
        std::u16string_view text;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {u"0", 0},
        {u"2", 2},
        {u"-1", -1},
        {u"+7", 7},
        {u"  12abc", 12},
        {u"1.5", 1},
        {u"", std::nullopt},
        {u"yes", std::nullopt},
        {u"-", std::nullopt},
        {u"99999999999", INT32_MAX},
        {u"-99999999999", INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::LeadingInteger(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
    }
}

std::optional<std::string> Decoded(std::u16string_view text) {
    const auto bytes = core::DecodeBase64(text);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

TEST(Base64Decoder, DecodesStandardAlphabetWithAndWithoutPadding) {
    const struct {
        std::u16string_view text;
        std::string_view bytes;
    } cases[] = {
        {u"", ""},
        {u"TWFu", "Man"},
        {u"TWE=", "Ma"},
        {u"TQ==", "M"},
        {u"TWE", "Ma"},
        {u"TQ", "M"},
        {u"+/+/", "\xfb\xff\xbf"},
        // The first and last digit of every range of the alphabet.
        {u"AZaz09+/", "\x01\x96\xb3\xd3\xdf\xbf"},
        {u"AAECAwQFBgcICQ==", "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09"sv},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(Decoded(text), std::string(bytes)) << std::string(text.begin(), text.end());
    }
}

TEST(Base64Decoder, SkipsWhiteSpaceAnywhereIncludingAfterPadding) {
    EXPECT_EQ(Decoded(u" T W\r\nF\tu "), "Man");
    EXPECT_EQ(Decoded(u"TQ = =\r\n"), "M");
    EXPECT_EQ(Decoded(u"TWFu\r\nTWFu\r\n"), "ManMan");
    EXPECT_EQ(Decoded(u"\r\n \t"), "");
}

TEST(Base64Decoder, RejectsMalformedTextWhole) {
    const std::u16string_view malformed[] = {
        u"TWF-",                           // URL-safe alphabet is not the standard one
        u"TW.u",                           // foreign character
        u"T",                              // a single digit cannot make a byte
        u"TWFuT",                          // nor can a trailing one
        u"TQ=",                            // padding that does not complete the group
        u"TQ===",                          // more than two "="
        u"T===",                           // three "=" even if the group would be complete
        u"TQ==TWFu",                       // data after the padding
        u"=",                              // padding alone
        u"TWFu\v",                         // vertical tab is not skipped
        u"TWF\u00e9",                      // characters beyond ASCII
        std::u16string_view(u"TW\0u", 4),  // an embedded zero unit
    };
    for (const auto text : malformed) {
        EXPECT_EQ(core::DecodeBase64(text), std::nullopt)
            << Hex(BytesOf(std::string(text.begin(), text.end())));
    }
}

}  // namespace

namespace core {
namespace {

TEST(OnlineHelpTest, TheRequestIsTheTopicNumberAndTheProductAfterASemicolon) {
    EXPECT_EQ(ParseOnlineHelpRequest(u"26;{73914D63-F8A8-49A8-AE4E-A74775AD4970}"),
              (OnlineHelpRequest{26, u"{73914D63-F8A8-49A8-AE4E-A74775AD4970}"}));
    EXPECT_EQ(ParseOnlineHelpRequest(u"26"), (OnlineHelpRequest{26, u""}));
    EXPECT_EQ(ParseOnlineHelpRequest(u""), std::nullopt);
    EXPECT_EQ(ParseOnlineHelpRequest(u"x;{73914D63}"), std::nullopt);
    EXPECT_EQ(ParseOnlineHelpRequest(u" 26;{73914D63}"), std::nullopt);
    EXPECT_EQ(ParseOnlineHelpRequest(u"-26"), std::nullopt);
}

TEST(OnlineHelpTest, TheHelpEntryGivesItsPageOnlyForItsOwnTopic) {
    EXPECT_EQ(HelpEntryPage(u"26:Introduction.htm", 26), u"Introduction.htm");
    EXPECT_EQ(HelpEntryPage(u"26:Introduction.htm", 27), std::nullopt);
    EXPECT_EQ(HelpEntryPage(u"26:", 26), std::nullopt);
    EXPECT_EQ(HelpEntryPage(u"26", 26), std::nullopt);
    EXPECT_EQ(HelpEntryPage(u"Introduction.htm", 26), std::nullopt);
    EXPECT_EQ(HelpEntryPage(u"", 0), std::nullopt);
}

std::size_t Characters(const std::string& utf8) {
    return Utf8ToUtf16(BytesOf(utf8)).size();
}

TEST(ProgressLine, BarPercentageAndNameFitTheTerminal) {
    EXPECT_EQ(ProgressLine("a.txt", 50, 100, 80),
              "[" + std::string(13, '#') + std::string(13, '.') + "]  50% a.txt");
    EXPECT_EQ(ProgressLine("a.txt", 0, 3, 80), "[" + std::string(26, '.') + "]   0% a.txt");
    EXPECT_EQ(ProgressLine("a.txt", 3, 3, 80), "[" + std::string(26, '#') + "] 100% a.txt");
}

// A long name keeps its end behind an ellipsis, cut between characters.
TEST(ProgressLine, LongNameKeepsItsEndBehindAnEllipsisCutBetweenCharacters) {
    const std::string line = ProgressLine(std::string(100, 'x') + "/the-end.bin", 1, 2, 40);
    EXPECT_EQ(line.size(), 39u);
    EXPECT_EQ(line.substr(20), " ...xxx/the-end.bin");
    std::string name;
    for (int i = 0; i < 60; ++i) name += "\xC3\xA9";  // é
    const std::string cut = ProgressLine(name, 1, 2, 40);
    EXPECT_EQ(Characters(cut), 39u);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(BytesOf(cut))), cut);
}

TEST(ProgressLine, OddInputsStayWithinTheWidth) {
    EXPECT_EQ(ProgressLine("a", 0, 0, 80).find("100%") != std::string::npos, true);
    EXPECT_EQ(ProgressLine("a", 9, 3, 80).find("100%") != std::string::npos, true);
    for (std::size_t width : {0, 1, 2, 5, 9, 12})
        EXPECT_LT(ProgressLine("name", 1, 2, width).size(), std::max<std::size_t>(width, 1)) << width;
}

TEST(EscapedPath, ControlCharactersCannotReachTheTerminal) {
    EXPECT_EQ(EscapedPath("C:\\docs\\a\x1B[2Jb\n.txt"), "C:\\docs\\a\\x1B[2Jb\\n.txt");
    EXPECT_EQ(EscapedPath("/home/\xC3\xA9t\xC3\xA9\x7F"), "/home/\xC3\xA9t\xC3\xA9\\x7F");
}

TEST(ExtendedLengthPath, OnlyFullPathsTooLongForThePlainFormAreConverted) {
    const std::u16string tail(kLongestPlainPath, u'a');
    const std::u16string atLimit = u"C:\\" + tail.substr(3);
    struct Case {
        std::u16string path;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"C:\\docs\\a.txt", u"C:\\docs\\a.txt"},
        {atLimit, atLimit},
        {atLimit + u"b", u"\\\\?\\" + atLimit + u"b"},
        {u"d:/" + tail, u"d:/" + tail},
        {u"\\\\server\\share\\" + tail, u"\\\\?\\UNC\\server\\share\\" + tail},
        {u"\\\\?\\C:\\" + tail, u"\\\\?\\C:\\" + tail},
        {u"\\\\.\\C:\\" + tail, u"\\\\.\\C:\\" + tail},
        {u"docs\\" + tail, u"docs\\" + tail},
        {u"\\" + tail, u"\\" + tail},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtendedLengthPath(c.path), c.expected) << c.path.size();
    for (const Case& c : cases) {
        if (c.expected != c.path) {
            EXPECT_EQ(PlainFormOf(c.expected), c.path);
        }
    }
    EXPECT_EQ(PlainFormOf(u"\\\\.\\C:\\a"), u"\\\\.\\C:\\a");
}

}  // namespace
}  // namespace core
