#include "dashboard/rules/date_time_text.h"

#include "core/text/text_format.h"

namespace core {

namespace {

// A date this long leaves no room worth having for the time.
constexpr std::size_t kRoomForTime = 246;

}  // namespace

std::u16string DateAndTimeText(std::u16string_view date, std::u16string_view time, bool midnight) {
    std::u16string text(date);
    if (!midnight && date.size() < kRoomForTime) text.append(u", ").append(time);
    return std::u16string(TruncateText(text, kInfoTipUnits));
}

}  // namespace core
