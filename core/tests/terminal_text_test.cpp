#include <gtest/gtest.h>

#include "byte_text.h"

#include <string>

#include "core/text/escaped_text.h"
#include "core/text/progress_line.h"
#include "core/text/utf8.h"

namespace core {
namespace {

std::size_t Characters(const std::string& utf8) {
    return Utf8ToUtf16(BytesOf(utf8)).size();
}

TEST(ProgressLine, BarPercentageAndNameFitTheTerminal) {
    EXPECT_EQ(ProgressLine("a.txt", 50, 100, 80),
              "[" + std::string(13, '#') + std::string(13, '.') + "]  50% a.txt");
    EXPECT_EQ(ProgressLine("a.txt", 0, 3, 80), "[" + std::string(26, '.') + "]   0% a.txt");
    EXPECT_EQ(ProgressLine("a.txt", 3, 3, 80), "[" + std::string(26, '#') + "] 100% a.txt");
}

TEST(ProgressLine, LongNameKeepsItsEndBehindAnEllipsis) {
    const std::string name = std::string(100, 'x') + "/the-end.bin";
    const std::string line = ProgressLine(name, 1, 2, 40);
    EXPECT_EQ(line.size(), 39u);
    EXPECT_EQ(line.substr(20), " ...xxx/the-end.bin");
}

TEST(ProgressLine, CutsLongNamesBetweenCharacters) {
    std::string name;
    for (int i = 0; i < 60; ++i) name += "\xC3\xA9";  // é
    const std::string line = ProgressLine(name, 1, 2, 40);
    EXPECT_EQ(Characters(line), 39u);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(BytesOf(line))), line);
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

}  // namespace
}  // namespace core
