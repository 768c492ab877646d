#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/registration/cleanup_line.h"

namespace core {
namespace {

using namespace std::string_literals;

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

constexpr char16_t kProduct[] = u"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto";
constexpr char16_t kShared[] = u"SOFTWARE\\Zentaro\\Applications\\TWAppSettings";

// Lines may end in a bare line feed, and the last needs no line break at all.
TEST(CleanupListTest, TheLinesTheSuiteWritesAreReadBackAsWritten) {
    const std::u16string below = std::u16string(kProduct) + u"\\Key";
    const std::u16string text =
        CleanupLine(u"HKU", kShared, 5, u"ShowEncryptIcon") + CleanupLine(u"HK", kProduct, 2, std::nullopt) +
        CleanupLine(u"HKU", below, 0, u"") + CleanupLine(u"HK", below, 0, std::nullopt) + u"HKU\t" + kShared +
        u"\t1\ta b\nHK\t" + kProduct + u"\t7";
    const std::vector<CleanupEntry> expected{
        {u"HKU", kShared, 5, u"ShowEncryptIcon"},
        {u"HK", kProduct, 2, std::nullopt},
        {u"HKU", below, 0, u""},
        {u"HK", below, 0, std::nullopt},
        {u"HKU", kShared, 1, u"a b"},
        {u"HK", kProduct, 7, std::nullopt},
    };
    EXPECT_EQ(ParseCleanupList(ListFile(text)), expected);
}

// The list is a file in the installation folder, and the uninstaller runs with the
// administrator's rights: a line naming any other key, or one that a zero in its path would
// cut short to the hive itself, must never reach it.
TEST(CleanupListTest, OnlyLinesWithinTheProductsOwnKeysAreCarriedOut) {
    const std::u16string product(kProduct), shared(kShared);
    const std::u16string text = u"HKU\t\0\t2\r\n"s + u"HK\tSOFTWARE\0x\t2\r\n"s + u"HKU\tSOFTWARE\t2\r\n" +
                                u"HK\tSOFTWARE\\Zentaro\t2\r\n" + u"HK\t" + product + u" Other\t2\r\n" +
                                u"HK\t" + product + u"\\Sub\x01\t2\r\n" + u"HKU\t" + shared + u"\t2\r\n" +
                                u"HK\t" + shared + u"\t5\tShowEncryptIcon\r\n" + u"HKU\t" + shared +
                                u"\\Below\t5\tValue\r\n" + u"HKU\t" + shared + u"\t5\tName\x1B\r\n" +
                                u"HKCU\t" + product + u"\t2\r\n" +
                                u"HK\tsoftware\\zentaro\\applications\\tapwise crypto\\Kept\t2\r\n";
    const std::vector<CleanupEntry> expected{
        {u"HK", u"software\\zentaro\\applications\\tapwise crypto\\Kept", 2, std::nullopt}};
    EXPECT_EQ(ParseCleanupList(ListFile(text)), expected);
}

TEST(CleanupListTest, AFileWithoutTheByteOrderMarkHoldsNoLines) {
    EXPECT_TRUE(ParseCleanupList(ListFile(u"HK\tKey\t2\r\n", false)).empty());
    EXPECT_TRUE(ParseCleanupList({}).empty());
    EXPECT_TRUE(ParseCleanupList(ListFile(u"")).empty());
}

TEST(CleanupListTest, LinesThatCouldNameAKeyAboveTheOneMeantAreLeftOut) {
    // An empty key path would be the hive itself; the others name keys nobody wrote.
    const std::u16string product(kProduct);
    const std::u16string text = u"HK\t\t2\r\n"s + u"HK\r\n" + u"\t" + product + u"\t2\r\n" + u"HK\t\\" +
                                product + u"\t2\r\n" + u"HK\t" + product + u"\\\t2\r\n" + u"HK\t" + product +
                                u"\\\\Sub\t2\r\n" + u"HK\t" + product + u"\t-2\r\n" + u"HK\t" + product +
                                u"\t2x\r\n" + u"HK\t" + product + u"\t\tName\r\n" + u"HK\t" + product +
                                u"\t99999999999\r\n" + u"\r\n" + u"HK\t" + product + u"\\Kept\t2\r\n";
    const std::vector<CleanupEntry> expected{{u"HK", product + u"\\Kept", 2, std::nullopt}};
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

TEST(CleanupLineTest, NumberAndValueNameAppearOnlyWhenNeeded) {
    EXPECT_EQ(CleanupLine(u"HKU", u"SOFTWARE\\Zentaro\\Applications\\Settings", 5, u"General"),
              u"HKU\tSOFTWARE\\Zentaro\\Applications\\Settings\t5\tGeneral\r\n");
    EXPECT_EQ(CleanupLine(u"HK", u"SOFTWARE\\Zentaro\\Applications\\Tapwise Crypto", 2, std::nullopt),
              u"HK\tSOFTWARE\\Zentaro\\Applications\\Tapwise Crypto\t2\r\n");
    EXPECT_EQ(CleanupLine(u"HK", u"Key", 0, std::nullopt), u"HK\tKey\r\n");
    EXPECT_EQ(CleanupLine(u"HK", u"Key", 0, u""), u"HK\tKey\t0\t \r\n");
    EXPECT_EQ(CleanupLine(u"HK", u"Key", -12, std::nullopt), u"HK\tKey\t-12\r\n");
}

}  // namespace
}  // namespace core
