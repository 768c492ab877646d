#include "app/startup/commands.h"

#include <string>

#include "core/command_line/command_line.h"
#include "trace/trace_scope.h"
#include "win/path_parts.h"
#include "win/wide_text.h"

bool CFiles::Add(std::wstring_view path) {
    trace::CTraceScope scope("CFiles::Add");
    const std::wstring text(path);
    trace::Trace(scope, 0, "FileName %ls", text.c_str());
    if (!PathIsTaken(text)) return false;
    trace::Trace(scope, 0, "Adding File");
    paths_.Add(text);
    return true;
}

namespace {

class CommandsSink : public core::CommandLineSink {
public:
    CommandsSink(CStringList& commands, CFiles& files) : commands_(commands), files_(files) {}
    void AddCommand(std::u16string_view word) override { commands_.Add(ToWide(word)); }
    bool AddPath(std::u16string_view path) override { return files_.Add(ToWide(path)); }

private:
    CStringList& commands_;
    CFiles& files_;
};

}  // namespace

bool CCommands::ParseCommandLine(std::wstring_view commandLine) {
    CommandsSink sink(commands_, files_);
    if (core::ParseCommandLine(AsU16(commandLine), sink)) return true;
    *this = CCommands();
    return false;
}
