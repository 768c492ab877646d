#include "dashboard/rules/item_list_rules.h"

#include <algorithm>

namespace core {

namespace {

constexpr int kDefaultDpi = 96;

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

// What no file name can hold, separators and the drive's colon included.
bool IsForeignToNames(char16_t c) {
    return c < u' ' || std::u16string_view(u"\"<>|?*:\\/").find(c) != std::u16string_view::npos;
}

bool IsDriveLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsFileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    return std::none_of(name.begin(), name.end(), IsForeignToNames);
}

bool IsFolderPath(std::u16string_view folder) {
    for (std::size_t i = 0; i < folder.size(); ++i) {
        const char16_t c = folder[i];
        const bool separator = c == u'\\' || c == u'/';
        const bool driveColon = c == u':' && i == 1 && IsDriveLetter(folder[0]);
        if (IsForeignToNames(c) && !separator && !driveColon) return false;
    }
    return true;
}

}  // namespace

int Scaled(int pixels, int dpi) {
    return ScaleRounded(pixels, dpi, kDefaultDpi);
}

int RowHeight(int fontHeight, int imageHeight, int dpi) {
    return std::max(fontHeight, imageHeight) + Scaled(2, dpi);
}

int NameOffset(int imageWidth, int dpi) {
    return imageWidth + Scaled(2, dpi);
}

ItemColumnWidths ItemColumns(int clientWidth, int scrollBarWidth, int checkImageWidth, bool vistaOrLater,
                             int dpi) {
    ItemColumnWidths widths{};
    widths.check = std::max(Scaled(vistaOrLater ? 30 : 35, dpi), checkImageWidth + Scaled(8, dpi));
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

bool MayPassOnCommandLine(std::u16string_view folder, std::u16string_view name) {
    return IsFileName(name) && IsFolderPath(folder);
}

}  // namespace core
