#include "dashboard/rules/reminder_hours.h"

#include <algorithm>

namespace core {

std::int32_t ShownHours(std::uint32_t seconds) {
    const std::uint32_t hours = seconds / kSecondsPerHour;
    return static_cast<std::int32_t>(std::clamp<std::uint32_t>(hours, kFewestHours, kMostHours));
}

std::int32_t ClampTypedHours(std::int32_t typed) {
    const auto value = static_cast<std::uint32_t>(typed);
    if (value >= static_cast<std::uint32_t>(kMostHours)) return kMostHours;
    if (value <= static_cast<std::uint32_t>(kFewestHours)) return kFewestHours;
    return typed;
}

std::int32_t SteppedHours(std::int32_t shown, std::int32_t delta) {
    const std::int64_t next = std::int64_t{shown} - delta;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(next, kFewestHours, kMostHours));
}

}  // namespace core
