#include "ui/current_help.h"

namespace {

std::unique_ptr<CHelp>& Current() {
    static std::unique_ptr<CHelp> help;
    return help;
}

}  // namespace

void SetCurrentHelp(std::unique_ptr<CHelp> help) {
    Current() = std::move(help);
}

const CHelp* CurrentHelp() {
    return Current().get();
}
