#include "core/container/payload_transfer.h"

#include <algorithm>

#include "core/crypto/secure_bytes.h"

namespace core {
namespace {

std::size_t FirstPiece(const PayloadTransfer& transfer) {
    if (!transfer.alignedFrom) return kPayloadPieceSize;
    return kPayloadPieceSize - static_cast<std::size_t>(*transfer.alignedFrom % kPayloadPieceSize);
}

void StopIfAsked(const PayloadTransfer& transfer, StopPoint point) {
    if (transfer.stopPoint == point && transfer.stopIfAsked) transfer.stopIfAsked();
}

}  // namespace

std::uint64_t TransferPayload(ByteSource& input, ByteSink* output, const PayloadTransfer& transfer) {
    SecureBytes buffer(std::min(transfer.bufferSize, kPayloadPieceSize));
    std::size_t piece = FirstPiece(transfer);
    std::uint64_t sum = 0;
    for (std::uint64_t position = 0;; piece = kPayloadPieceSize) {
        StopIfAsked(transfer, StopPoint::BeforeEveryRead);
        const std::span<std::uint8_t> space = buffer.Bytes().first(std::min(piece, buffer.Bytes().size()));
        const std::size_t length = input.Read(space);
        if (length == 0) return sum;
        StopIfAsked(transfer, StopPoint::BeforeEveryPiece);
        const std::span<std::uint8_t> data = space.first(length);
        sum = transfer.encipher ? transfer.cipher.Encipher(data, position, sum)
                                : transfer.cipher.Decipher(data, position, sum);
        if (output) output->Write(data);
        position += length;
        if (transfer.advance) transfer.advance(length);
    }
}

}  // namespace core
