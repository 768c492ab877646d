#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/container/memory_stream.h"
#include "core/container/payload.h"
#include "core/container/payload_transfer.h"
#include "core/crypto/rc4.h"

// The one payload loop of the engines and the recovery tool: what each of them asks of it
// (alignment, buffer, where a stop is heard, no output) changes only that, never the bytes.
namespace core {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kMiB = kPayloadPieceSize;
constexpr std::uint8_t kKey[] = {'p', 'i', 'e', 'c', 'e', 's'};

Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

// An output that keeps what is written and the length of every write.
class RecordingSink final : public ByteSink {
public:
    void Write(std::span<const std::uint8_t> bytes) override {
        writes.push_back(bytes.size());
        content.insert(content.end(), bytes.begin(), bytes.end());
    }
    std::vector<std::size_t> writes;
    Bytes content;
};

struct Stopped {};

class PayloadTransferTest : public testing::Test {
protected:
    std::uint64_t Run(const Bytes& input, ByteSink* output, PayloadTransfer transfer) {
        MemorySource source(input);
        return TransferPayload(source, output, transfer);
    }
    PayloadTransfer Enciphering() const { return Plain(true); }
    PayloadTransfer Deciphering() const { return Plain(false); }
    // Unaligned, whole pieces, never stopped, nobody told.
    PayloadTransfer Plain(bool encipher) const {
        return {.cipher = cipher_,
                .encipher = encipher,
                .bufferSize = kMiB,
                .alignedFrom = std::nullopt,
                .stopPoint = StopPoint::BeforeEveryRead,
                .stopIfAsked = {},
                .advance = {}};
    }

    const ChunkCipher cipher_ = ChunkCipherOf(Rc4(kKey));
};

TEST_F(PayloadTransferTest, EncipheredPayloadDeciphersBackAndBothSumThePlainBytes) {
    const Bytes plain = Pattern(2 * kMiB + 12345);
    RecordingSink encrypted;
    const std::uint64_t sum = Run(plain, &encrypted, Enciphering());
    EXPECT_EQ(sum, AddToChecksum(0, plain));
    EXPECT_NE(encrypted.content, plain);

    RecordingSink decrypted;
    EXPECT_EQ(Run(encrypted.content, &decrypted, Deciphering()), sum);
    EXPECT_EQ(decrypted.content, plain);
    EXPECT_EQ(Run(encrypted.content, nullptr, Deciphering()), sum);
}

TEST_F(PayloadTransferTest, PiecesFollowAlignmentAndBuffer) {
    const Bytes plain = Pattern(3 * kMiB);
    RecordingSink unaligned;
    Run(plain, &unaligned, Enciphering());
    EXPECT_EQ(unaligned.writes, (std::vector<std::size_t>{kMiB, kMiB, kMiB}));

    PayloadTransfer afterHeader = Enciphering();
    afterHeader.alignedFrom = 39;
    RecordingSink aligned;
    Run(plain, &aligned, afterHeader);
    EXPECT_EQ(aligned.writes, (std::vector<std::size_t>{kMiB - 39, kMiB, kMiB, 39}));
    EXPECT_EQ(aligned.content, unaligned.content);

    PayloadTransfer small = Enciphering();
    small.bufferSize = 1000;
    RecordingSink pieces;
    Run(Pattern(2500), &pieces, small);
    EXPECT_EQ(pieces.writes, (std::vector<std::size_t>{1000, 1000, 500}));
}

// A stop asked for before every read is heard after the last piece too, and for an empty
// payload; one asked for before every piece lets the last piece finish.
TEST_F(PayloadTransferTest, StopIsHeardOnlyWhereAsked) {
    const struct {
        StopPoint point;
        std::size_t inputSize;
        std::size_t stopAfter;  // bytes written when the stop is asked for
        bool stops;
        std::size_t written;
    } cases[] = {
        {StopPoint::BeforeEveryRead, 2 * kMiB, 2 * kMiB, true, 2 * kMiB},
        {StopPoint::BeforeEveryPiece, 2 * kMiB, 2 * kMiB, false, 2 * kMiB},
        {StopPoint::BeforeEveryRead, 3 * kMiB, kMiB, true, kMiB},
        {StopPoint::BeforeEveryPiece, 3 * kMiB, kMiB, true, kMiB},
        {StopPoint::BeforeEveryRead, 0, 0, true, 0},
        {StopPoint::BeforeEveryPiece, 0, 0, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        std::size_t advanced = 0;
        PayloadTransfer transfer = Enciphering();
        transfer.stopPoint = c.point;
        transfer.stopIfAsked = [&] {
            if (advanced >= c.stopAfter) throw Stopped{};
        };
        transfer.advance = [&](std::size_t length) { advanced += length; };
        RecordingSink output;
        bool stopped = false;
        try {
            Run(Pattern(c.inputSize), &output, transfer);
        } catch (const Stopped&) {
            stopped = true;
        }
        EXPECT_EQ(stopped, c.stops);
        EXPECT_EQ(output.content.size(), c.written);
        EXPECT_EQ(advanced, c.written);
    }
}

}  // namespace
}  // namespace core
