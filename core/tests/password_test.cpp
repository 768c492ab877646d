#include <gtest/gtest.h>

#include "byte_text.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/crypto/md4.h"
#include "core/crypto/password.h"

namespace core {
namespace {

Password Line(std::string_view text) {
    const std::vector<std::uint8_t> bytes = BytesOf(text);
    return Password::FromLine(bytes);
}

TEST(PasswordLine, EndsAtTheFirstLineFeedWithOneCarriageReturnDropped) {
    const Password expected = Password::FromUtf16(u"secret");
    EXPECT_EQ(Line("secret"), expected);
    EXPECT_EQ(Line("secret\n"), expected);
    EXPECT_EQ(Line("secret\r\n"), expected);
    EXPECT_EQ(Line("secret\nsecond line\n"), expected);
    EXPECT_EQ(Line("secret\r\r\n"), Password::FromUtf16(u"secret\r"));
    EXPECT_EQ(Line(" secret \n"), Password::FromUtf16(u" secret "));
    EXPECT_TRUE(Line("\nsecret").Empty());
    EXPECT_TRUE(Line("").Empty());
}

TEST(PasswordLine, Utf8BecomesTheUnitsTheDialogsHash) {
    EXPECT_EQ(Line("P\xC3\xA4ss \xE2\x82\xAC \xF0\x9F\x98\x80\n"),
              Password::FromUtf16(u"Päss € \xD83D\xDE00"));
}

TEST(PasswordLength, CountsUtf16UnitsAsTheDialogsLimitDoes) {
    EXPECT_FALSE(Password::FromUtf16(std::u16string(256, u'x')).TooLong());
    EXPECT_TRUE(Password::FromUtf16(std::u16string(257, u'x')).TooLong());
    std::u16string pairs;
    for (int i = 0; i < 129; ++i) pairs += u"\xD83D\xDE00";
    EXPECT_TRUE(Password::FromUtf16(pairs).TooLong());
}

TEST(PasswordSecret, IsMd4OfTheUtf16LeUnitsAndTheirTerminator) {
    // One character hashes 4 bytes: the unit and the zero unit after it.
    EXPECT_EQ(Password::FromUtf16(u"a").Secret(), Md4Of(BytesOf(std::string("a\0\0\0", 4))));
    const std::string units("P\0\xE4\0\x3D\xD8\x00\xDE\0\0", 10);
    EXPECT_EQ(Line("P\xC3\xA4\xF0\x9F\x98\x80").Secret(), Md4Of(BytesOf(units)));
}

TEST(PasswordSecret, MovedPasswordKeepsItsSecret) {
    Password original = Password::FromUtf16(u"secret");
    const Md4Digest secret = original.Secret();
    const Password moved(std::move(original));
    EXPECT_EQ(moved.Secret(), secret);
}

}  // namespace
}  // namespace core
