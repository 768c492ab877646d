#pragma once
#include <string>
#include <string_view>

namespace core {

// Some XML serialisers (Wine's among them) indent element-only content with line breaks and
// tabs; a file format that allows no white space between elements needs it gone. Removes
// every run of white space that stands between two pieces of markup, except where the run
// is the whole content of an element ("<a> </a>"), which is data. Text that holds anything
// besides white space, attribute values, comments, processing instructions and CDATA
// sections stay as they are.
std::u16string RemoveIndentation(std::u16string_view xml);

}  // namespace core
