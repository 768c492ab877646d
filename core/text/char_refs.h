#pragma once
#include <bitset>
#include <string>
#include <string_view>

namespace core {

// Which of U+0080..U+00FF a narrow code page carries as themselves: bit i stands for
// U+0080 + i.
using Latin1Coverage = std::bitset<128>;

// Prepares serialised XML for a narrow code page. Every character of 256 or more, and every
// character from U+0080 to U+00FF that the code page lacks, becomes "&#x%04X;", so that the
// conversion to the code page loses nothing. A surrogate pair becomes one reference to its
// code point. A character that XML cannot carry at all (an unpaired surrogate, U+FFFE,
// U+FFFF) becomes a reference to U+FFFD: one altered name is better than a file that no
// longer parses.
std::u16string EncodeCharRefs(std::u16string_view xml, const Latin1Coverage& kept);

// Undoes references to characters of U+0080 or more, whatever their form (hexadecimal or
// decimal), so that serialised XML holds them as characters again. References below U+0080
// stay, since they may stand for markup, and so do references that XML does not allow.
std::u16string DecodeCharRefs(std::u16string_view xml);

}  // namespace core
