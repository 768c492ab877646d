// Arbitrary UTF-16 command lines through the tokenizer and the parse. Every token must lie
// inside the line and each step must move forward; nothing longer than the token buffer
// may reach the receiver; the tail must be the end of the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/command_line/command_line.h"

namespace {

void Require(bool holds) {
    if (!holds) std::abort();
}

bool Inside(std::u16string_view part, std::u16string_view line) {
    return part.data() >= line.data() && part.data() + part.size() <= line.data() + line.size();
}

class CheckingSink : public core::CommandLineSink {
public:
    explicit CheckingSink(std::u16string_view line) : line_(line) {}
    void AddCommand(std::u16string_view word) override { Check(word); }
    bool AddPath(std::u16string_view path) override {
        Check(path);
        return path.size() % 3 != 0;  // some paths exist, some do not
    }

private:
    void Check(std::u16string_view token) const {
        Require(Inside(token, line_));
        Require(token.size() <= core::kMaxCommandTokenUnits);
    }
    std::u16string_view line_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    const std::u16string_view line = text;

    std::size_t position = 0;
    for (std::size_t before = 0; const auto token = core::NextToken(line, position); before = position) {
        Require(Inside(*token, line));
        Require(position > before && position <= line.size());
        Require(token->data() + token->size() <= line.data() + position);
    }

    CheckingSink sink(line);
    core::ParseCommandLine(line, sink);

    const std::u16string_view tail = core::CommandTail(line);
    Require(line.ends_with(tail));
    return 0;
}
