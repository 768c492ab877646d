#pragma once
#include <compare>
#include <cstdint>

namespace core {

// A day of the calendar, in whatever time zone the caller took it.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const CalendarDate&) const = default;
};

// The dashboard's reading of the tracing switch "DoTrace": 1 is on without end; any other
// value is a moment in seconds since 1970 from whose local date on tracing is off, so that a
// switch set to expire keeps tracing until the end of the day before. endDay is the local
// date of that moment (not used for 1), today the local date now. Dates are compared as
// dates, so a day shortened by a change to summer time still counts as a whole day.
bool TraceSwitchOn(std::uint32_t doTrace, CalendarDate endDay, CalendarDate today);

}  // namespace core
