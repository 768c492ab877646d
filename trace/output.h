#pragma once
#include <cstddef>
#include <cstdint>

namespace trace {

// Where finished records go. The choice of output belongs to the configuration; the file
// output is CFileOutput (file_output.h).
class COutput {
public:
    virtual void Write(const std::uint8_t* record, std::size_t size) = 0;
    virtual ~COutput() = default;
};

// Tracing off.
class CNoOutput final : public COutput {
public:
    void Write(const std::uint8_t*, std::size_t) override {}
};

// Tracing on without a file: records are taken and dropped, with a debugger attached or not.
// They keep the choice visible, so that a process's output can be told apart while debugging.
class CDebugOutput final : public COutput {
public:
    void Write(const std::uint8_t*, std::size_t) override {}
};

class CConsoleOutput final : public COutput {
public:
    void Write(const std::uint8_t*, std::size_t) override {}
};

}  // namespace trace
