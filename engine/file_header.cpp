#include "engine/file_header.h"

#include "engine/handle_stream.h"
#include "trace/operation.h"
#include "trace/trace_scope.h"
#include "win/hresult.h"

using trace::CTraceScope;
using trace::Trace;

void CFileHeader::Insert(CBlock block) {
    const std::uint16_t type = block.Type();
    blocks_.try_emplace(type, std::move(block));
}

std::vector<core::BlockView> CFileHeader::Views() const {
    std::vector<core::BlockView> views;
    for (const auto& [type, block] : blocks_) views.push_back({type, block.Bytes()});
    return views;
}

HRESULT CFileHeader::Write(HANDLE file) const {
    CTraceScope scope("CFileHeader::Write");
    return Guarded(scope, [&] {
        CHandleSink sink(file);
        core::WriteHeader(sink, headerSize_, Views());
    });
}

HRESULT CFileHeader::Read(HANDLE file) {
    CTraceScope scope("CFileHeader::Read");
    blocks_.clear();
    headerSize_ = 0;
    return Guarded(scope, [&]() -> HRESULT {
        CHandleSource source(file);
        const core::HeaderReadResult read = core::ReadHeader(
            source,
            [&](std::uint16_t type, std::span<const std::uint8_t> data) { Insert(CBlock(type, data)); });
        headerSize_ = read.headerSize;
        Trace(scope, 0, "Header size = %d, blocks = %d", headerSize_, static_cast<int>(blocks_.size()));
        return read.result == core::ReadResult::Ok ? S_OK : S_FALSE;
    });
}

std::optional<core::AcceptedHeader> CFileHeader::Accept() const {
    return core::AcceptHeader(headerSize_,
                              [this](std::uint16_t type) -> std::optional<std::span<const BYTE>> {
                                  const CBlock* block = FindBlock(type);
                                  if (!block) return std::nullopt;
                                  return block->Bytes();
                              });
}

const CBlock* CFileHeader::FindBlock(std::uint16_t type) const {
    const auto found = blocks_.find(type);
    return found == blocks_.end() ? nullptr : &found->second;
}

std::uint16_t CFileHeader::GetBlockOffset(std::uint16_t type) const {
    return core::BlockOffsetOf(Views(), type);
}
