#pragma once
#include <windows.h>

namespace trace {

// One per traced operation, named "Class::Method". With tracing off it costs a tick-count
// test at construction and a flag test at destruction.
class CTraceScope {
public:
    explicit CTraceScope(const char* name, int level = 0);
    ~CTraceScope();
    CTraceScope(const CTraceScope&) = delete;
    CTraceScope& operator=(const CTraceScope&) = delete;

    const char* Name() const { return name_; }
    int Level() const { return level_; }

private:
    char name_[100] = {};
    int level_;
};

// A trace line under the scope. "%s" and "%c" arguments are narrow, "%ls" wide. The level
// is not used: the scope's level decides.
void Trace(const CTraceScope& scope, int level, const char* format, ...);

// Records a failure code (negative) with a text; success codes write nothing.
void TraceResult(const CTraceScope& scope, const char* text, HRESULT code);

}  // namespace trace
