#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The scheduled refresh's clock rules. Times are whole local seconds since 30.12.1899 00:00, so
// that midnight is no special case.

// The interval in minutes as the box shows it: its leading number, 0 when it has none.
int ScheduleInterval(std::string_view coMinText);

// The length of the interval's slot in seconds (aligned to the clock: every quarter hour, ...),
// or 0 for an interval the schedule does not serve.
std::int64_t SlotSeconds(int interval);

// Whether a slot of the interval begins in the seconds after `from` up to and including `to`.
bool SlotBetween(int interval, std::int64_t from, std::int64_t to);

// The whole local second of an automation date (days since 30.12.1899 with the time as fraction).
std::int64_t WholeSeconds(double oleDate);

// Which seconds each tick has to look at. A tick that comes late still sees the seconds it
// skipped, so a slot begins at most once and is never lost to a busy window thread; a clock set
// back starts afresh at its new second.
class ScheduleClock {
public:
    // The seconds after `after` up to and including `upTo` are new: those since the last tick,
    // or `now` alone on the first tick and after the clock went back.
    struct Span {
        std::int64_t after, upTo;
    };
    Span Tick(std::int64_t now);
    std::optional<std::int64_t> Last() const { return last_; }

private:
    std::optional<std::int64_t> last_;
};

// When the catch-up refresh is due. A wake from sleep or a network that came back starts a
// series with a try after a short wait; each try that finds no network moves the next one
// further off (1, 2, 5, 10 minutes), and after the last the clock's slots alone go on, so an
// offline machine is left in peace. Data coming in ends the series.
class CatchUp {
public:
    void Restart(std::int64_t now, int delaySeconds);
    // A refresh found no network.
    void NoNetwork(std::int64_t now);
    void Done();
    // True once when a try is due at `now`; the next one needs NoNetwork or Restart.
    bool Take(std::int64_t now);
    // When the next try is due, if any.
    std::optional<std::int64_t> Next() const { return next_; }

private:
    std::optional<std::int64_t> next_;
    std::size_t retries_ = 0;  // tries after a failure in this series
};
