#include "core/trace/trace_switch.h"

namespace core {

bool TraceSwitchOn(std::uint32_t doTrace, CalendarDate endDay, CalendarDate today) {
    return doTrace == 1 || endDay > today;
}

}  // namespace core
