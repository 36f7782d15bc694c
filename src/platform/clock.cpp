#include "platform/clock.h"

#include <ctime>

namespace fennick {

CalDate SystemClock::now() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return CalDate::fromInstant(ts.tv_sec);
}

} // namespace fennick
