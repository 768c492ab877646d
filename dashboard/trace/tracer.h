#pragma once
#include <string>

// The dashboard plug-in's own trace component. The plug-in writes no records through it:
// when the module loads it reads the tracing switch of the suite's Tracing key once and,
// when tracing is off, removes an expired switch and has the trace files of the trace
// folder deleted at the next restart (trace_cleanup.h).
namespace tracecore {

enum class TraceMode { kOff, kOn };

class tracer_t {
public:
    virtual ~tracer_t() = default;
    // The trace file named by the configuration: only its folder and extension matter here.
    virtual std::wstring TraceFilePath() const = 0;
    // Deletes a DoTrace switch of REG_DWORD type (a switch that cannot be deleted stays);
    // true when there was one.
    virtual bool RemoveSwitch() = 0;
    virtual TraceMode Mode() const = 0;
};

class realtracer_t final : public tracer_t {
public:
    // Reads the switch, and cleans up when it is off; never fails.
    realtracer_t();

    std::wstring TraceFilePath() const override;
    bool RemoveSwitch() override;
    TraceMode Mode() const override { return mode_; }

private:
    TraceMode mode_ = TraceMode::kOff;
};

}  // namespace tracecore
