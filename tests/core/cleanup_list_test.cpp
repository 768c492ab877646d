#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/cleanup_line.h"

namespace core {
namespace {

// The bytes of a list file: the byte-order mark, then the text as UTF-16LE.
std::vector<std::uint8_t> ListFile(std::u16string_view text, bool byteOrderMark = true) {
    std::vector<std::uint8_t> bytes;
    if (byteOrderMark) bytes = {0xFF, 0xFE};
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

TEST(CleanupListTest, TheLinesTheSuiteWritesAreReadBackAsWritten) {
    const std::u16string text =
        CleanupLine(u"HKU", u"SOFTWARE\\Zentaro\\Applications\\TWAppSettings", 5, u"ShowEncryptIcon") +
        CleanupLine(u"HK", u"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto", 2, std::nullopt) +
        CleanupLine(u"HKU", u"Key", 0, u"") + CleanupLine(u"HK", u"A\\B", 0, std::nullopt);
    EXPECT_EQ(text.substr(text.rfind(u"HK\t")), u"HK\tA\\B\r\n");
    const std::vector<CleanupEntry> expected{
        {u"HKU", u"SOFTWARE\\Zentaro\\Applications\\TWAppSettings", 5, u"ShowEncryptIcon"},
        {u"HK", u"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto", 2, std::nullopt},
        {u"HKU", u"Key", 0, u""},
        {u"HK", u"A\\B", 0, std::nullopt},
    };
    EXPECT_EQ(ParseCleanupList(ListFile(text)), expected);
}

TEST(CleanupListTest, AValueNameKeepsItsTabsAndTheLastLineNeedsNoLineBreak) {
    const std::vector<CleanupEntry> expected{{u"HKU", u"K", 1, u"a\tb"}, {u"HK", u"L", 7, std::nullopt}};
    EXPECT_EQ(ParseCleanupList(ListFile(u"HKU\tK\t1\ta\tb\nHK\tL\t7")), expected);
}

TEST(CleanupListTest, AFileWithoutTheByteOrderMarkHoldsNoLines) {
    EXPECT_TRUE(ParseCleanupList(ListFile(u"HK\tKey\t2\r\n", false)).empty());
    EXPECT_TRUE(ParseCleanupList({}).empty());
    EXPECT_TRUE(ParseCleanupList(ListFile(u"")).empty());
}

TEST(CleanupListTest, LinesThatCouldNameAKeyAboveTheOneMeantAreLeftOut) {
    // An empty key path would be the hive itself; the others name keys nobody wrote.
    const std::u16string text =
        u"HK\t\t2\r\n"
        u"HK\r\n"
        u"\tKey\t2\r\n"
        u"HK\t\\SOFTWARE\t2\r\n"
        u"HK\tSOFTWARE\\\t2\r\n"
        u"HK\tSOFTWARE\\\\Zentaro\t2\r\n"
        u"HK\tKey\t-2\r\n"
        u"HK\tKey\t2x\r\n"
        u"HK\tKey\t\tName\r\n"
        u"HK\tKey\t99999999999\r\n"
        u"\r\n"
        u"HK\tSOFTWARE\\Zentaro\\Kept\t2\r\n";
    const std::vector<CleanupEntry> expected{{u"HK", u"SOFTWARE\\Zentaro\\Kept", 2, std::nullopt}};
    EXPECT_EQ(ParseCleanupList(ListFile(text)), expected);
}

TEST(CleanupListTest, TheNumberRefinesWhatTheValueNameSays) {
    EXPECT_EQ(ActionOf({u"HKU", u"K", 5, u"V"}), CleanupAction::kRemoveValueThenEmptyKey);
    EXPECT_EQ(ActionOf({u"HKU", u"K", 4, u"V"}), CleanupAction::kRemoveValue);
    EXPECT_EQ(ActionOf({u"HKU", u"K", 0, u""}), CleanupAction::kRemoveValue);
    EXPECT_EQ(ActionOf({u"HK", u"K", 2, std::nullopt}), CleanupAction::kRemoveKeyTree);
    EXPECT_EQ(ActionOf({u"HK", u"K", 0, std::nullopt}), CleanupAction::kRemoveKeyWithoutSubkeys);
    // Each bit counts only for its kind of line.
    EXPECT_EQ(ActionOf({u"HK", u"K", 1, std::nullopt}), CleanupAction::kRemoveKeyWithoutSubkeys);
    EXPECT_EQ(ActionOf({u"HK", u"K", 2, u"V"}), CleanupAction::kRemoveValue);
}

}  // namespace
}  // namespace core
