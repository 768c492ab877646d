#pragma once
#include <string>
#include <string_view>

namespace core {

// An icon location as the registry and file associations give it: a file, optionally
// followed by a comma and the icon's index ("C:\app.exe,2", "\"C:\app.exe\",-101").
struct IconLocation {
    std::u16string file;
    int index = 0;

    bool operator==(const IconLocation&) const = default;
};

// The part after the last comma is the index when it reads as a number other than 0, or is
// exactly "0"; otherwise the whole text names the file and the index is 0. Quotation marks
// are dropped from the file.
IconLocation ParseIconLocation(std::u16string_view text);

}  // namespace core
