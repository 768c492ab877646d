#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/container/byte_stream.h"
#include "core/crypto/chunk_cipher.h"

// The payload of a .zte file on its way through the cipher: read in pieces, enciphered or
// deciphered and summed, written. The Windows engines and the recovery tool differ only in
// what they ask of it here.
namespace core {

// Few large system calls, and a piece small enough that the progress moves and a stop is
// heard often even on a slow disk.
inline constexpr std::size_t kPayloadPieceSize = std::size_t{1} << 20;

// Where the stop callable is asked: before every read, the last (empty) one included; or
// only once a read has brought a piece, before it is used, so that a stop asked for while
// the last piece is written lets the payload finish.
enum class StopPoint { BeforeEveryRead, BeforeEveryPiece };

struct PayloadTransfer {
    const ChunkCipher& cipher;
    bool encipher = false;
    // Memory for a piece; a piece never exceeds kPayloadPieceSize nor this.
    std::size_t bufferSize = kPayloadPieceSize;
    // The output's offset where the payload begins, when its writes are to end on multiples of
    // the piece size: writes that end inside a page cost the file system far more, so after a
    // header the first piece is shorter.
    std::optional<std::uint64_t> alignedFrom;
    StopPoint stopPoint = StopPoint::BeforeEveryRead;
    // Throws whatever ends the transfer early; none: it runs to the end.
    std::function<void()> stopIfAsked;
    // Told of the length of every piece once it is written.
    std::function<void(std::size_t)> advance;
};

// Runs the rest of the input through the cipher into output (none: only summed), and returns
// the sum of the plain bytes. Failures of input and output pass through.
std::uint64_t TransferPayload(ByteSource& input, ByteSink* output, const PayloadTransfer& transfer);

}  // namespace core
