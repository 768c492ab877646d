// Arbitrary text through the registration-script parser, one byte per character as the
// registrar widens the resource. A script that parses has named keys no deeper than the
// limit, whatever the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/registration/registry_script.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

void CheckKeys(const std::vector<core::ScriptKey>& keys, int depth) {
    for (const core::ScriptKey& key : keys) {
        Require(depth <= 32);
        Require(!key.name.empty());
        CheckKeys(key.subKeys, depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text(data, data + size);
    const core::ScriptReplacement replacements[] = {{u"MODULE", u"C:\\a 'b' {c}.dll"}};
    if (const auto roots = core::ParseRegistryScript(text, replacements)) {
        for (const core::ScriptRoot& root : *roots) CheckKeys(root.keys, 1);
    }
    return 0;
}
