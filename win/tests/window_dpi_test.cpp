// Which of the pictures drawn at 100, 150 and 200 per cent a DPI takes.
#include <gtest/gtest.h>

#include "win/window_dpi.h"

namespace {

TEST(WindowDpiTest, APictureIsNeverShrunk) {
    const struct {
        int dpi;
        int percent;
    } cases[] = {{72, 100},  {96, 100},  {120, 100}, {143, 100},
                 {144, 150}, {191, 150}, {192, 200}, {288, 200}};
    for (const auto& c : cases) EXPECT_EQ(PicturePercent(c.dpi), c.percent) << c.dpi;
}

}  // namespace
