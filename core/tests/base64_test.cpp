#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "byte_text.h"
#include "core/text/base64.h"

using core::DecodeBase64;

using namespace std::string_view_literals;

namespace {

std::optional<std::string> Decoded(std::u16string_view text) {
    const auto bytes = DecodeBase64(text);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

struct Accepted {
    std::u16string_view text;
    std::string_view bytes;
};

}  // namespace

TEST(Base64Decoder, DecodesStandardAlphabetWithAndWithoutPadding) {
    const Accepted cases[] = {
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
        EXPECT_EQ(DecodeBase64(text), std::nullopt) << Hex(BytesOf(std::string(text.begin(), text.end())));
    }
}
