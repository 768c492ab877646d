#pragma once
#include <cstdint>

namespace core {

// The reminder interval as the page shows and stores it: whole hours from 1 to 6 in the
// field, seconds in the registry.
inline constexpr std::uint32_t kSecondsPerHour = 3600;
inline constexpr std::int32_t kFewestHours = 1;
inline constexpr std::int32_t kMostHours = 6;

// The hours shown for a stored interval: whole hours, at least 1 and at most 6.
std::int32_t ShownHours(std::uint32_t seconds);

// What a typed number becomes. Compared as unsigned, so that a negative number counts as a
// very large one and becomes 6.
std::int32_t ClampTypedHours(std::int32_t typed);

// The number a step of the arrows beside the field leads to. The arrows count from the top
// of their range down, so a step of delta means shown - delta; kept within 1 to 6.
std::int32_t SteppedHours(std::int32_t shown, std::int32_t delta);

}  // namespace core
