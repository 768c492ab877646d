#pragma once
#include <windows.h>

#include "core/container/byte_stream.h"

// The container codec's byte source and sink over an open file. System failures are thrown
// as HRESULTs; a short read is returned as such.
class CHandleSource final : public core::ByteSource {
public:
    explicit CHandleSource(HANDLE file) : file_(file) {}
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    std::uint64_t Position() override;

private:
    HANDLE file_;
};

class CHandleSink final : public core::ByteSink {
public:
    explicit CHandleSink(HANDLE file) : file_(file) {}
    void Write(std::span<const std::uint8_t> bytes) override;

private:
    HANDLE file_;
};

// Reads until the buffer is full or the file ends; returns the bytes read.
std::size_t ReadFully(HANDLE file, std::span<BYTE> buffer);
void WriteFully(HANDLE file, std::span<const BYTE> bytes);
