#include "app/startup/commands.h"

#include "core/command_line.h"
#include "win/wide_text.h"

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
