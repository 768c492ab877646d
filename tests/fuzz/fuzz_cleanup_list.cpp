// The uninstaller's clean-up list is a file anyone who can write to the installation folder
// may change. Whatever it holds, what the parser hands on must name no key outside the
// product's own and carry no control character that could cut a path short.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/registration/cleanup_line.h"

namespace {

constexpr std::u16string_view kProductKey = u"software\\zentaro\\applications\\tapwise crypto";
constexpr std::u16string_view kSharedKeys[] = {u"software\\zentaro\\applications\\twappsettings",
                                               u"software\\zentaro\\applications\\settings"};

std::u16string Lower(std::u16string_view text) {
    std::u16string lower(text);
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return lower;
}

bool Clean(std::u16string_view text) {
    for (const char16_t c : text)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const core::CleanupEntry& entry : core::ParseCleanupList({data, size})) {
        Require(entry.hive == u"HK" || entry.hive == u"HKU");
        Require(!entry.keyPath.empty() && Clean(entry.keyPath));
        Require(!entry.valueName || Clean(*entry.valueName));
        const std::u16string path = Lower(entry.keyPath);
        const bool below = path.rfind(kProductKey, 0) == 0 &&
                           (path.size() == kProductKey.size() || path[kProductKey.size()] == u'\\');
        bool shared = false;
        for (const std::u16string_view key : kSharedKeys) shared = shared || path == key;
        Require(below || (shared && entry.hive == u"HKU" && entry.valueName));
    }
    return 0;
}
