#include "item_list_rules.h"

#include <algorithm>

namespace core {

namespace {

// a × b / c, rounded half away from zero as the system's MulDiv rounds.
int ScaleRounded(int a, int b, int c) {
    std::int64_t n = std::int64_t{a} * b;
    std::int64_t d = c;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return static_cast<int>(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}

}  // namespace

ItemColumnWidths ItemColumns(int clientWidth, int scrollBarWidth, bool vistaOrLater) {
    ItemColumnWidths widths{};
    widths.check = vistaOrLater ? 30 : 35;
    widths.name = ScaleRounded(clientWidth, 40, 100);
    widths.location = std::max(0, clientWidth - widths.check - widths.name - scrollBarWidth);
    return widths;
}

int CentringMargin(int columnWidth, int imageWidth) {
    return std::max(0, (columnWidth - imageWidth) / 2);
}

RemovalQuestion QuestionBeforeRemoval(bool someExist, bool someMissing) {
    if (someExist && someMissing) return RemovalQuestion::kExistingAndMissing;
    if (someExist) return RemovalQuestion::kExisting;
    if (someMissing) return RemovalQuestion::kMissing;
    return RemovalQuestion::kNone;
}

}  // namespace core
