#include "settings/RefreshSchedule.h"

#include <cmath>
#include <iterator>

#include "system/Numbers.h"

int ScheduleInterval(std::string_view coMinText) {
    const double minutes = Val(coMinText);
    // "1.5" or "1e9" name no interval the schedule serves.
    return minutes >= 0 && minutes <= 1440 && minutes == std::floor(minutes) ? static_cast<int>(minutes) : 0;
}

std::int64_t SlotSeconds(int interval) {
    switch (interval) {
    case 1: case 5: case 10: case 15: case 30: case 60:
        return interval * std::int64_t{60};
    default:
        return 0;
    }
}

bool SlotBetween(int interval, std::int64_t from, std::int64_t to) {
    const std::int64_t slot = SlotSeconds(interval);
    // Every slot length divides a day, so slots counted from the epoch fall on the clock's.
    return slot > 0 && to > from && to / slot != from / slot;
}

std::int64_t WholeSeconds(double oleDate) {
    // A millisecond of slack: 14:00:00.000 must not come out as 13:59:59.
    return static_cast<std::int64_t>(std::floor(oleDate * 86400.0 + 1e-3));
}

ScheduleClock::Span ScheduleClock::Tick(std::int64_t now) {
    const std::int64_t after = last_ && *last_ <= now ? *last_ : now - 1;
    last_ = now;
    return {after, now};
}

namespace {
constexpr std::int64_t kRetrySeconds[] = {60, 120, 300, 600};
}  // namespace

void CatchUp::Restart(std::int64_t now, int delaySeconds) {
    next_ = now + delaySeconds;
    retries_ = 0;
}

void CatchUp::NoNetwork(std::int64_t now) {
    if (retries_ >= std::size(kRetrySeconds)) return;
    next_ = now + kRetrySeconds[retries_++];
}

void CatchUp::Done() {
    next_.reset();
    retries_ = 0;
}

bool CatchUp::Take(std::int64_t now) {
    if (!next_ || now < *next_) return false;
    next_.reset();
    return true;
}
