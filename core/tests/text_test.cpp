// The portable text pieces behind resource strings, reports and help file names.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/help/help_file_name.h"
#include "core/text/decimal_number.h"
#include "core/text/product_name.h"
#include "core/text/string_table_block.h"
#include "core/text/text_format.h"

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
}

TEST(FormatText, AnArgumentHoldingConversionsIsInsertedAsIs) {
    EXPECT_EQ(core::FormatText(u"Open %s?", {u"50%s %% done.txt"}), u"Open 50%s %% done.txt?");
}

TEST(TruncateText, CutsAtTheLimitButNeverInsideASurrogatePair) {
    EXPECT_EQ(core::TruncateText(u"abcdef", 4), u"abcd");
    EXPECT_EQ(core::TruncateText(u"abc", 4), u"abc");
    const std::u16string withEmoji = u"ab\U0001F600cd";  // a, b, high, low, c, d
    EXPECT_EQ(core::TruncateText(withEmoji, 3), u"ab");
    EXPECT_EQ(core::TruncateText(withEmoji, 4), u"ab\U0001F600");
}

TEST(ProductName, EveryPlaceholderIsReplaced) {
    EXPECT_EQ(core::InsertProductName(u"<<%PN%>> protects files. Ask <<%PN%>>.", u"Tapwise"),
              u"Tapwise protects files. Ask Tapwise.");
    EXPECT_EQ(core::InsertProductName(u"<<%PN%>><<%PN%>>", u"X"), u"XX");
    EXPECT_EQ(core::InsertProductName(u"no placeholder <<%", u"X"), u"no placeholder <<%");
}

TEST(ProductName, ANameHoldingThePlaceholderIsNotExpandedAgain) {
    EXPECT_EQ(core::InsertProductName(u"[<<%PN%>>]", u"<<%PN%>>"), u"[<<%PN%>>]");
}

TEST(ProductName, OnlyTextsWithTheMarkNeedTheName) {
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

}  // namespace
