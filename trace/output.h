#pragma once
#include <cstddef>
#include <cstdint>

namespace ZTTraceNS {

// Where finished records go. The choice of output belongs to the configuration.
class COutput {
public:
    virtual void Write(const std::uint8_t* record, std::size_t size) = 0;
    virtual ~COutput() = default;
};

class CNoOutput final : public COutput {
public:
    void Write(const std::uint8_t*, std::size_t) override {}
};

}  // namespace ZTTraceNS
