#include <gtest/gtest.h>
#include <sodium.h>

#include "byte_text.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/container/memory_stream.h"
#include "core/container/sealed_file.h"
#include "core/container/zte_header.h"

namespace core {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Offsets of a file without extension, named kName, as docs/formats.md lays them out.
constexpr std::size_t kSalt = 7, kStreamHeader = 23, kNameLength = 47, kHeaderSize = 49;
constexpr std::size_t kMessageSize = kSealedChunkSize + crypto_secretstream_xchacha20poly1305_ABYTES;
const std::string kName = "report.txt";
constexpr std::size_t kFirstChunk = kHeaderSize + 10 + crypto_secretstream_xchacha20poly1305_ABYTES;
const Bytes kSecret = BytesOf("0123456789abcdef");

Bytes Content(std::size_t size) {
    Bytes content(size);
    for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<std::uint8_t>(i * 7 + (i >> 16));
    return content;
}

Bytes Sealed(const Bytes& content, const SealedSalt& salt = {}, const Bytes& secret = kSecret) {
    MemorySource source(content);
    MemorySink sink;
    WriteSealedFile(secret, kName, salt, source, sink);
    return sink.Bytes();
}

struct Opening {
    SealedResult result;
    std::u16string name;
    Bytes content;
};

Opening Opened(const Bytes& file, const Bytes& secret = kSecret) {
    MemorySource source(file);
    SealedFileReader reader(secret, source);
    MemorySink sink;
    const SealedResult result = reader.ReadContent(sink);
    return {result, reader.StoredName(), sink.Bytes()};
}

class SealedRoundTrip : public testing::TestWithParam<std::size_t> {};

TEST_P(SealedRoundTrip, GivesBackNameAndContentInWholeChunks) {
    const Bytes content = Content(GetParam());
    const Bytes file = Sealed(content);
    const std::size_t messages =
        std::max<std::size_t>(1, (content.size() + kSealedChunkSize - 1) / kSealedChunkSize);

    EXPECT_EQ(file.size(),
              kFirstChunk + content.size() + messages * crypto_secretstream_xchacha20poly1305_ABYTES);
    EXPECT_EQ(SealedContentSize(file.size() - kFirstChunk), content.size());
    const Opening opening = Opened(file);
    EXPECT_EQ(opening.result, SealedResult::Opened);
    EXPECT_EQ(opening.name, u"report.txt");
    EXPECT_EQ(opening.content, content);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SealedRoundTrip, testing::Values(0, 1, 65535, 65536, 65537, 3 * 65536));

struct Tamper {
    const char* what;
    std::function<void(Bytes&)> change;
    SealedResult expected;
};

void Flip(Bytes& file, std::size_t at) {
    file[at] ^= 0x10;
}

TEST(SealedFile, EveryChangeIsRefused) {
    constexpr std::size_t kLast = kFirstChunk + 2 * kMessageSize;
    const Tamper tampers[] = {
        {"magic", [](Bytes& f) { Flip(f, 0); }, SealedResult::NotSealed},
        {"version", [](Bytes& f) { Flip(f, 4); }, SealedResult::UnknownVersion},
        {"extension length", [](Bytes& f) { Flip(f, 5); }, SealedResult::Damaged},
        {"salt", [](Bytes& f) { Flip(f, kSalt + 15); }, SealedResult::Damaged},
        {"stream header", [](Bytes& f) { Flip(f, kStreamHeader); }, SealedResult::Damaged},
        {"name length", [](Bytes& f) { Flip(f, kNameLength); }, SealedResult::Damaged},
        {"name", [](Bytes& f) { Flip(f, kHeaderSize + 3); }, SealedResult::Damaged},
        {"first chunk", [](Bytes& f) { Flip(f, kFirstChunk + 1000); }, SealedResult::Damaged},
        {"second chunk's tag", [](Bytes& f) { Flip(f, kFirstChunk + kMessageSize); }, SealedResult::Damaged},
        {"final tag", [](Bytes& f) { Flip(f, kLast); }, SealedResult::Damaged},
        {"last byte", [](Bytes& f) { Flip(f, f.size() - 1); }, SealedResult::Damaged},
        {"cut inside the magic", [](Bytes& f) { f.resize(3); }, SealedResult::NotSealed},
        {"cut inside the header", [](Bytes& f) { f.resize(kStreamHeader); }, SealedResult::Damaged},
        {"cut after the header", [](Bytes& f) { f.resize(kHeaderSize); }, SealedResult::Damaged},
        {"cut after the name", [](Bytes& f) { f.resize(kFirstChunk); }, SealedResult::Damaged},
        {"cut after a chunk", [](Bytes& f) { f.resize(kFirstChunk + kMessageSize); }, SealedResult::Damaged},
        {"cut before the final", [](Bytes& f) { f.resize(kLast); }, SealedResult::Damaged},
        {"cut inside a chunk", [](Bytes& f) { f.resize(kFirstChunk + 100); }, SealedResult::Damaged},
        {"chunks swapped",
         [](Bytes& f) {
             std::swap_ranges(f.begin() + kFirstChunk, f.begin() + kFirstChunk + kMessageSize,
                              f.begin() + kFirstChunk + kMessageSize);
         },
         SealedResult::Damaged},
        {"byte appended", [](Bytes& f) { f.push_back(0); }, SealedResult::Damaged},
    };
    const Bytes file = Sealed(Content(2 * kSealedChunkSize + 100));
    ASSERT_EQ(file.size(), kLast + 100 + crypto_secretstream_xchacha20poly1305_ABYTES);
    for (const Tamper& tamper : tampers) {
        Bytes changed = file;
        tamper.change(changed);
        EXPECT_EQ(Opened(changed).result, tamper.expected) << tamper.what;
    }
}

TEST(SealedFile, OtherSecretIsRefusedAsDamaged) {
    const Opening opening = Opened(Sealed(Content(10)), BytesOf("0123456789abcdeF"));
    EXPECT_EQ(opening.result, SealedResult::Damaged);
    EXPECT_EQ(opening.name, u"");
}

TEST(SealedFile, OnlyTheClearStartFollowsTheSalt) {
    const SealedSalt salt{1, 2, 3}, other{1, 2, 4};
    const Bytes first = Sealed(Content(10), salt), again = Sealed(Content(10), salt),
                third = Sealed(Content(10), other);

    EXPECT_TRUE(std::equal(first.begin(), first.begin() + kStreamHeader, again.begin()));
    EXPECT_FALSE(std::equal(first.begin() + kStreamHeader, first.end(), again.begin() + kStreamHeader));
    EXPECT_EQ(Hex(std::span(third).subspan(kSalt, 16)), "01020400000000000000000000000000");
}

void Push(Bytes& file, crypto_secretstream_xchacha20poly1305_state& state, const Bytes& plain,
          std::uint8_t tag, const Bytes& header = {}) {
    file.resize(file.size() + plain.size() + crypto_secretstream_xchacha20poly1305_ABYTES);
    crypto_secretstream_xchacha20poly1305_push(
        &state, file.data() + file.size() - plain.size() - crypto_secretstream_xchacha20poly1305_ABYTES,
        nullptr, plain.data(), plain.size(), header.data(), header.size(), tag);
}

// A file only a holder of the key can make, written from docs/formats.md alone: any name, any
// tags, every chunk whole, a salt of zeros.
Bytes Crafted(const std::string& name, std::uint8_t nameTag, const Bytes& contentTags,
              const Bytes& extension) {
    Bytes file = BytesOf(std::string("ZTS2\x01", 5) + static_cast<char>(extension.size()) + '\0');
    file.insert(file.end(), extension.begin(), extension.end());
    file.resize(file.size() + 16 + crypto_secretstream_xchacha20poly1305_HEADERBYTES);
    file.insert(file.end(), {static_cast<std::uint8_t>(name.size()), 0});
    Bytes keyInput = BytesOf("ZTS2 file key"), key(32);
    keyInput.resize(keyInput.size() + 16);
    crypto_generichash(key.data(), key.size(), keyInput.data(), keyInput.size(), kSecret.data(),
                       kSecret.size());
    crypto_secretstream_xchacha20poly1305_state state;
    crypto_secretstream_xchacha20poly1305_init_push(&state, &file[kStreamHeader + extension.size()],
                                                    key.data());
    Push(file, state, BytesOf(name), nameTag, Bytes(file));
    for (std::uint8_t tag : contentTags) Push(file, state, Bytes(kSealedChunkSize), tag);
    return file;
}

TEST(SealedFile, OnlyTheDocumentedTagsAndNamesAreAccepted) {
    constexpr std::uint8_t kMessage = crypto_secretstream_xchacha20poly1305_TAG_MESSAGE;
    constexpr std::uint8_t kFinal = crypto_secretstream_xchacha20poly1305_TAG_FINAL;
    constexpr std::uint8_t kPush = crypto_secretstream_xchacha20poly1305_TAG_PUSH;
    constexpr std::uint8_t kRekey = crypto_secretstream_xchacha20poly1305_TAG_REKEY;
    const struct {
        std::string name;
        std::uint8_t nameTag;
        Bytes contentTags;
        SealedResult expected;
        Bytes extension = {};
    } files[] = {
        {"a.txt", kMessage, {kMessage, kFinal}, SealedResult::Opened},
        {"a/b.txt", kMessage, {kFinal}, SealedResult::NameRefused},
        {std::string("a.txt\0.exe", 10), kMessage, {kFinal}, SealedResult::NameRefused},
        {"\xC3.txt", kMessage, {kFinal}, SealedResult::NameRefused},
        {"a.txt", kFinal, {kFinal}, SealedResult::Damaged},
        {"a.txt", kPush, {kFinal}, SealedResult::Damaged},
        {"a.txt", kMessage, {kRekey, kFinal}, SealedResult::Damaged},
        {"a.txt", kMessage, {kMessage, kPush}, SealedResult::Damaged},
        {"a.txt", kMessage, {kFinal, kFinal}, SealedResult::Damaged},
        {"later.txt", kMessage, {kFinal}, SealedResult::Opened, BytesOf("a later field")},
    };
    for (const auto& file : files)
        EXPECT_EQ(Opened(Crafted(file.name, file.nameTag, file.contentTags, file.extension)).result,
                  file.expected)
            << file.name << " " << Hex(file.contentTags);
}

TEST(SealedFile, WriterRefusesWhatNoReaderCouldOpen) {
    MemorySource empty({});
    MemorySink sink;
    EXPECT_THROW(WriteSealedFile(kSecret, "a/b", {}, empty, sink), std::invalid_argument);
    EXPECT_THROW(WriteSealedFile(kSecret, std::string(0x10000, 'a'), {}, empty, sink), std::invalid_argument);
    EXPECT_THROW(WriteSealedFile(Bytes(15), kName, {}, empty, sink), std::invalid_argument);
    EXPECT_THROW(WriteSealedFile(Bytes(65), kName, {}, empty, sink), std::invalid_argument);
    EXPECT_TRUE(sink.Bytes().empty());
}

// A stop thrown at the third chunk ends either side there, after two chunks' progress.
TEST(SealedFile, ProgressCountsPlainChunksAndAStopEndsTheFileThere) {
    struct Stopped {};
    const Bytes content = Content(3 * kSealedChunkSize + 5);
    std::vector<std::size_t> lengths;
    int asked = 0;
    const SealedProgress counting{[&] { ++asked; }, [&](std::size_t length) { lengths.push_back(length); }};
    const SealedProgress stopping{[&] {
                                      if (lengths.size() == 2) throw Stopped{};
                                  },
                                  [&](std::size_t length) { lengths.push_back(length); }};
    const std::vector<std::size_t> whole{kSealedChunkSize, kSealedChunkSize, kSealedChunkSize, 5};

    MemorySource source(content);
    MemorySink sink;
    WriteSealedFile(kSecret, kName, {}, source, sink, counting);
    EXPECT_EQ(lengths, whole);
    EXPECT_EQ(asked, 4);
    const Bytes file = sink.Bytes();
    lengths.clear();
    MemorySource again(content);
    MemorySink cut;
    EXPECT_THROW(WriteSealedFile(kSecret, kName, {}, again, cut, stopping), Stopped);
    EXPECT_EQ(lengths.size(), 2u);

    for (const SealedProgress* progress : {&counting, &stopping}) {
        lengths.clear();
        asked = 0;
        MemorySource input(file);
        SealedFileReader reader(kSecret, input);
        MemorySink output;
        if (progress == &counting) {
            EXPECT_EQ(reader.ReadContent(output, *progress), SealedResult::Opened);
            EXPECT_EQ(lengths, whole);
            EXPECT_EQ(asked, 4);
        } else {
            EXPECT_THROW(reader.ReadContent(output, *progress), Stopped);
            EXPECT_EQ(output.Bytes().size(), 2 * kSealedChunkSize);
        }
    }
}

TEST(SealedFile, FormatsAreToldApartByMagic) {
    const Bytes file = Sealed({});
    MemorySource source(file);
    EXPECT_EQ(ParseHeader(source).result, ReadResult::NotEncrypted);
    EXPECT_EQ(FormatOf(file), FileFormat::Sealed);
    EXPECT_EQ(FormatOf(BytesOf("ZTFE")), FileFormat::Zte);
    EXPECT_EQ(FormatOf(BytesOf("ZTS")), FileFormat::NotEncrypted);
    EXPECT_EQ(FormatOf(BytesOf("ZTS3")), FileFormat::NotEncrypted);
}

}  // namespace
}  // namespace core
