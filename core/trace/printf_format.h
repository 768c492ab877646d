#pragma once
#include <string>
#include <string_view>

namespace core {

// Trace formats are written with narrow "%s" and "%c" arguments but formatted by the wide
// printf family, where a bare "%s" means a wide string. Every "s" or "c" conversion without
// a size prefix gets the prefix "h", which keeps it narrow; "%ls", "%hs" and "%%" stay.
std::u16string NarrowStringConversions(std::u16string_view format);

}  // namespace core
