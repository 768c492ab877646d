#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// Windows' file functions refuse a path of MAX_PATH units or more (a folder's path already
// from 248, the room an 8.3 name needs) unless it comes in its extended-length form,
// "\\?\C:\..." or "\\?\UNC\server\share\...", which every Windows since XP accepts. The
// system takes that form as it stands, without turning "/" into "\" or resolving "." and "..",
// so the form is made only of a full path the system has already normalised. Shorter paths
// are left as they are, so that they keep exactly the handling they always had.
inline constexpr std::size_t kLongestPlainPath = 247;

// The extended-length form of a full, normalised path when it is longer than
// kLongestPlainPath; the path itself when it is shorter, already in a "\\?\" or "\\.\"
// form, or not a full path.
std::u16string ExtendedLengthPath(std::u16string_view fullPath);

// The plain form of a path in the extended-length form ("\\?\UNC\server\..." gives
// "\\server\..."); any other path as it is.
std::u16string PlainFormOf(std::u16string_view path);

}  // namespace core
