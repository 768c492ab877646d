#include "core/help/online_help_request.h"

#include "core/text/decimal_number.h"

namespace core {
namespace {

// The number before the separator, and what follows it.
struct Numbered {
    int number = 0;
    std::u16string_view rest;
};

std::optional<Numbered> SplitNumber(std::u16string_view text, char16_t separator) {
    const std::size_t at = text.find(separator);
    const std::optional<int> number = DecimalNumber(text.substr(0, at));
    if (!number) return std::nullopt;
    return Numbered{*number, at == std::u16string_view::npos ? std::u16string_view() : text.substr(at + 1)};
}

}  // namespace

std::optional<OnlineHelpRequest> ParseOnlineHelpRequest(std::u16string_view parameters) {
    const std::optional<Numbered> request = SplitNumber(parameters, u';');
    if (!request) return std::nullopt;
    return OnlineHelpRequest{request->number, std::u16string(request->rest)};
}

std::optional<std::u16string> HelpEntryPage(std::u16string_view entry, int topic) {
    const std::optional<Numbered> page = SplitNumber(entry, u':');
    if (!page || page->number != topic || page->rest.empty()) return std::nullopt;
    return std::u16string(page->rest);
}

}  // namespace core
