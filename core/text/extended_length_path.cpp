#include "core/text/extended_length_path.h"

namespace core {
namespace {

constexpr std::u16string_view kExtendedPrefix = u"\\\\?\\";
constexpr std::u16string_view kUncPrefix = u"\\\\?\\UNC\\";

// A normalised path separates its parts with backslashes only; one with "/" is not ready.
bool IsSeparator(char16_t unit) {
    return unit == u'\\';
}

bool IsDriveLetter(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

bool IsDrivePath(std::u16string_view path) {
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsSeparator(path[2]);
}

// "\\?\..." and "\\.\..." are already taken as they stand.
bool IsDevicePath(std::u16string_view path) {
    return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
           (path[2] == u'?' || path[2] == u'.') && IsSeparator(path[3]);
}

bool IsUncPath(std::u16string_view path) {
    return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

}  // namespace

std::u16string ExtendedLengthPath(std::u16string_view fullPath) {
    if (fullPath.size() <= kLongestPlainPath || IsDevicePath(fullPath)) return std::u16string(fullPath);
    if (IsDrivePath(fullPath)) return std::u16string(kExtendedPrefix) + std::u16string(fullPath);
    if (IsUncPath(fullPath)) return std::u16string(kUncPrefix) + std::u16string(fullPath.substr(2));
    return std::u16string(fullPath);
}

std::u16string PlainFormOf(std::u16string_view path) {
    if (path.starts_with(kUncPrefix)) return u"\\\\" + std::u16string(path.substr(kUncPrefix.size()));
    if (path.starts_with(kExtendedPrefix)) return std::u16string(path.substr(kExtendedPrefix.size()));
    return std::u16string(path);
}

}  // namespace core
