// Arbitrary bytes through the sealed file's reader, read in pieces of a few bytes as a slow
// medium gives them. A file that is not sealed must be told so by its magic; whatever opens
// must seal again, under the name and content it opened to, into a file that opens to the same;
// any difference aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "core/container/memory_stream.h"
#include "core/container/sealed_file.h"
#include "core/text/utf8.h"

namespace {

constexpr std::uint8_t kSecret[16] = {'f', 'u', 'z', 'z', ' ', 's', 'e', 'c',
                                      'r', 'e', 't', ' ', '1', '6', 'b', '!'};

void Require(bool holds) {
    if (!holds) std::abort();
}

// Gives at most a few bytes a read, so that every read of the reader has to be completed.
class TrickleSource final : public core::ByteSource {
public:
    explicit TrickleSource(std::span<const std::uint8_t> bytes) : memory_(bytes) {}
    std::size_t Read(std::span<std::uint8_t> buffer) override {
        return memory_.Read(buffer.first(std::min<std::size_t>(buffer.size(), 1 + memory_.Position() % 7)));
    }
    std::uint64_t Position() override { return memory_.Position(); }

private:
    core::MemorySource memory_;
};

struct Opening {
    core::SealedResult result;
    std::u16string name;
    std::vector<std::uint8_t> content;
};

Opening Open(core::ByteSource& source) {
    core::SealedFileReader reader(kSecret, source);
    core::MemorySink content;
    const core::SealedResult result = reader.ReadContent(content);
    return {result, reader.StoredName(), std::move(content.Bytes())};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    TrickleSource source(file);
    const Opening opening = Open(source);
    Require((opening.result == core::SealedResult::NotSealed) ==
            (core::FormatOf(file) != core::FileFormat::Sealed));
    if (opening.result != core::SealedResult::Opened) return 0;

    core::MemorySource content(opening.content);
    core::MemorySink again;
    core::WriteSealedFile(kSecret, core::Utf16ToUtf8(opening.name), core::NewSealedSalt(), content, again);
    core::MemorySource reread(again.Bytes());
    const Opening second = Open(reread);
    Require(second.result == core::SealedResult::Opened && second.name == opening.name &&
            second.content == opening.content);
    return 0;
}
