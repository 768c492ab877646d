#include "dashboard/rules/nearest_folder.h"

namespace core {

namespace {

std::u16string_view WithoutTrailingSeparators(std::u16string_view path) {
    const std::size_t last = path.find_last_not_of(u" \\");
    return last == std::u16string_view::npos ? std::u16string_view() : path.substr(0, last + 1);
}

// "C:" alone means the drive's current folder; the drive's root is meant.
std::u16string AsFolder(std::u16string_view path) {
    std::u16string folder(path);
    if (folder.size() == 2 && folder[1] == u':') folder += u'\\';
    return folder;
}

}  // namespace

std::u16string NearestExistingFolder(std::u16string_view path,
                                     const std::function<bool(const std::u16string&)>& isFolder) {
    for (std::u16string_view rest = WithoutTrailingSeparators(path); !rest.empty();) {
        std::u16string candidate = AsFolder(rest);
        if (isFolder(candidate)) return candidate;
        const std::size_t separator = rest.rfind(u'\\');
        if (separator == std::u16string_view::npos) break;
        rest = WithoutTrailingSeparators(rest.substr(0, separator));
    }
    return {};
}

}  // namespace core
