#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace core {

// How the decrypted-items list is laid out and what its check boxes mean.

// Sizes in pixels are given for 96 DPI, the system's 100 per cent, and scaled to a window's DPI
// rounding as the system's MulDiv does.
int Scaled(int pixels, int dpi);

// The height of a row of the list: its text or its tallest image, whichever is taller, and a
// scaled pixel above and below.
int RowHeight(int fontHeight, int imageHeight, int dpi);

// Where a row's name starts, right of its image and a scaled gap of two pixels.
int NameOffset(int imageWidth, int dpi);

// Widths of the list's three columns for a list whose client area is clientWidth pixels
// wide: the check boxes (30 pixels at 96 DPI from Vista on, whose header draws its image with
// a margin, 35 before; never narrower than the check box image and a scaled margin of four
// pixels each side), the name (two fifths of the width) and the location (the rest, leaving
// room for a vertical scroll bar, never below 0).
struct ItemColumnWidths {
    int check;
    int name;
    int location;
};
ItemColumnWidths ItemColumns(int clientWidth, int scrollBarWidth, int checkImageWidth, bool vistaOrLater,
                             int dpi);

// The margin that centres an image of imageWidth in a header column, never below 0.
int CentringMargin(int columnWidth, int imageWidth);

// A row's check box is its state image: 1 unchecked, 2 checked.
inline constexpr int kUncheckedImage = 1;
inline constexpr int kCheckedImage = 2;

// What a click makes of a check box: a checked one unchecked, any other checked.
inline int ToggledCheck(int stateImage) {
    return stateImage == kCheckedImage ? kUncheckedImage : kCheckedImage;
}

// The header's check box is checked when every row is, and there is at least one.
inline bool AllRowsChecked(std::size_t checked, std::size_t rows) {
    return rows > 0 && checked == rows;
}

// Which question comes before checked items are removed from the list.
enum class RemovalQuestion { kNone, kExisting, kMissing, kExistingAndMissing };
RemovalQuestion QuestionBeforeRemoval(bool someExist, bool someMissing);

// Whether an item of the store may be put on a command line as "folder\name". The store is a
// file any program of the user may write, so its names are not trusted: a quotation mark
// would close the quoted path and add words of its own, and an empty name would leave a
// backslash before the closing mark. The name must be one Windows could give a file: not
// empty, "." or "..", and without control characters or any of " < > | ? * : \ /. The folder
// may hold none of those either, except separators and the colon after a drive's letter.
bool MayPassOnCommandLine(std::u16string_view folder, std::u16string_view name);

// Each load the page asks for is counted; a load tells the page the count it began with.
// Whether a load that began at count served answers the request counted as awaited (counts
// wrap around, and the two are never half the range apart).
inline bool LoadAnswers(std::uint32_t served, std::uint32_t awaited) {
    return static_cast<std::int32_t>(served - awaited) >= 0;
}

}  // namespace core
