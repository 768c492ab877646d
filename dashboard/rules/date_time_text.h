#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// The longest text a list's info tip takes, without its terminator.
inline constexpr std::size_t kInfoTipUnits = 255;

// A date and a time of day as one text: "date, time". The time is left off when it is
// midnight (a time that was never recorded) or when the date alone nearly fills the tip;
// the whole is cut to the tip's length.
std::u16string DateAndTimeText(std::u16string_view date, std::u16string_view time, bool midnight);

}  // namespace core
