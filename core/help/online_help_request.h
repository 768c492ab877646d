#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace core {

// What the programs ask the online-help program for: a topic number, then ";" and the
// product's identifier when there is one ("26;{73914D63-...}").
struct OnlineHelpRequest {
    int topic = 0;
    std::u16string product;

    bool operator==(const OnlineHelpRequest&) const = default;
};
std::optional<OnlineHelpRequest> ParseOnlineHelpRequest(std::u16string_view parameters);

// The page a product's help entry ("26:Introduction.htm", the topic number, a colon and the
// page in the product's help file) gives for the topic; none for an entry of another topic
// or one of another form.
std::optional<std::u16string> HelpEntryPage(std::u16string_view entry, int topic);

}  // namespace core
