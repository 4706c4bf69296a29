// The dialog's clock: slots of every interval, late ticks, a refresh running at a trigger
// second, midnight, daylight saving time, a clock set back or forward, the balloon's one-shot
// withdrawal, catching up after sleep or a lost network.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "doubles/FakeServices.h"
#include "settings/RefreshSchedule.h"
#include "system/OleDate.h"

namespace {

std::string Fixture(const std::string& name) {
    std::ifstream in(std::filesystem::path(WG_FIXTURES_DIR) / "service" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ScheduleRig : ServicedWindows {
    explicit ScheduleRig(const char* interval = "15") {
        set.coMinText = interval;
        set.ckRefresh.Value = 1;
        set.M2 = " tip ";
        fake.settings.Set("Server.Api", "http://api.test/");
        services.transport.Respond(503, "Service Unavailable", "");  // a refresh ends at once
        main.PicIcon.Image = std::make_shared<Bitmap>(410, 205, 0x203040);
        main.PicIconWind.Image = std::make_shared<Bitmap>(320, 80, 0x203040);
        main.PicIconMoon.Image = std::make_shared<Bitmap>(320, 40, 0x203040);
    }
    void Network(bool up) {
        services.transport.routes.clear();
        if (!up) return services.transport.Fail(HttpOutcome::TimedOut);
        services.transport.Route("/locations/v1/", Fixture("location-piatek-pl.json"));
        services.transport.Route("/currentconditions/v1/", Fixture("current-piatek-pl-details-2023-03.json"));
        services.transport.Route("/forecasts/v1/daily/10day/", Fixture("forecast-5day-details-piatek-metric-2023-03.json"));
    }
    // Sets the clock to `s` seconds after midnight of 09.12.2025 (on into the next day).
    void At(double s) {
        services.clock.now = 46000 + s / 86400.0;
        services.clock.seconds = static_cast<float>(std::fmod(s, 86400.0));
    }
    // Ticks every 0.1 s from `from` up to `to`.
    void Ticks(double from, double to) {
        for (int i = 0; from + i * 0.1 < to; ++i) {
            At(from + i * 0.1);
            set.Timer1_Timer();
        }
    }
    // The host's one timer from clock second `s` until `to`: each tick lands 50 ms after the
    // second the model aims at. Returns the clock seconds of the refreshes, and leaves `s` at the last tick.
    std::vector<double> Host(double& s, double to) {
        std::vector<double> at;
        for (auto next = set.NextTick(); next && s + next->in + 0.05 < to; next = set.NextTick()) {
            s += next->in + 0.05;
            At(s);
            const int before = Refreshes();
            set.Timer1_Timer();
            if (Refreshes() > before) at.push_back(std::floor(s));
        }
        return at;
    }
    int Refreshes() const {
        int n = 0;
        for (const auto& r : services.transport.requests) n += r.url.find("/locations/v1/") != std::string::npos;
        return n;
    }
};

TEST(RefreshSchedule, SlotsLateTicksBusyRefreshAndMidnight) {
    const struct {
        const char* interval;
        int refreshes;  // 23:00:00 to 01:00:00
    } rows[] = {{"1", 121}, {"5", 25}, {"10", 13}, {"15", 9}, {"30", 5}, {"60", 3}, {"0", 0}, {"", 0}, {"20", 0}, {"1.5", 0}};
    for (const auto& row : rows) {
        ScheduleRig r(row.interval);
        r.Ticks(82799.55, 90000.1);
        EXPECT_EQ(r.Refreshes(), row.refreshes) << '"' << row.interval << '"';
    }
    ScheduleRig off, late("60"), busy("60");
    off.set.ckRefresh.Value = 0;
    off.Ticks(899.5, 901);
    EXPECT_EQ(off.Refreshes(), 0);
    late.Ticks(50399.9, 50400);  // 13:59:59.9, then 14:00:00 skipped by a late tick: served once
    late.Ticks(50403.2, 50403.4);
    EXPECT_EQ(late.Refreshes(), 1);
    busy.services.tasks.hold = true;  // a refresh under way at 15:00:00: that slot is passed over
    busy.set.cChk_Click();
    busy.Ticks(53990, 54010);
    busy.services.tasks.hold = false;
    busy.services.tasks.RunAll();
    busy.Ticks(54010, 54020);
    busy.Ticks(57599.95, 57600.1);
    EXPECT_EQ(busy.Refreshes(), 2);
}

TEST(RefreshSchedule, BalloonWithdrawnByOneShotAfterTenSecondsOrItsNoticeAfterTwoAndAHalf) {
    const struct {
        float shown;
        double asked;    // when the host asks for the withdrawal's timer
        double dueInMs;  // what it is told: 10 s after the balloon, midnight at the latest
    } rows[] = {{3600.0f, 3600, 10000}, {3600.0f, 3604, 6000}, {86395.0f, 86399, 1000}, {-1, 3600, 2500}};
    for (const auto& row : rows) {
        ScheduleRig r;
        r.set.TrayTip = "tip";
        r.set.BalloonTime = row.shown;
        r.At(3600);
        if (row.shown < 0) r.set.ckBalloon_Click();
        const std::size_t before = r.services.tray.calls.size();
        r.At(row.asked);
        const auto due = r.set.BalloonDueIn();
        ASSERT_TRUE(due);
        EXPECT_NEAR(*due, row.dueInMs, 2) << row.asked;
        r.At(row.asked + *due / 1000.0 - 0.05);  // a timer that came early keeps it
        r.set.BalloonTimer();
        EXPECT_EQ(r.services.tray.calls.size(), before);
        r.At(row.asked + *due / 1000.0 + 0.02);
        r.set.BalloonTimer();
        ASSERT_EQ(r.services.tray.calls.size(), before + 1);
        EXPECT_FALSE(r.set.BalloonDueIn());
        const FakeTray::Call& c = r.services.tray.calls.back();
        EXPECT_TRUE(c.message == TrayMessage::Modify && c.tip == "tip" && c.text.empty() && c.flags == 0 && c.timeout == 1000);
        EXPECT_EQ(r.set.BalloonTime, 0.0f);
    }
}

TEST(RefreshSchedule, CatchUpAfterSleepOrALostNetworkAndOldDataNoted) {
    // 14:15 finds no network: catch-up tries 1, 2, 5 and 10 minutes after each failure, then the
    // slots alone; one beep for the series, but always one for a refresh the user asks for.
    ScheduleRig lost;
    lost.Network(false);
    lost.Ticks(51299.5, 54000.5);
    EXPECT_EQ(lost.Refreshes(), 8);  // 14:15, 14:16, 14:18, 14:23, 14:30 (slot), 14:33, 14:45, 15:00
    EXPECT_EQ(lost.fake.system.beeps, 1);
    lost.set.cChk_Click();
    EXPECT_EQ(lost.fake.system.beeps, 2);
    // The network comes back: fresh data within a minute.
    lost.Ticks(54000.5, 54300);
    EXPECT_EQ(lost.Refreshes(), 9);
    lost.Network(true);
    lost.set.NetworkChanged();
    lost.Ticks(54300, 54360);
    EXPECT_EQ(lost.Refreshes(), 10);
    EXPECT_EQ(lost.main.lTitle[0].ForeColor, 0x80FF80u);

    const struct {
        double wake;
        int refreshes;  // 14:16:20 missed no slot; 15:02:00 slept through 14:30 and 14:45
    } rows[] = {{51380, 1}, {54120, 2}};
    for (const auto& row : rows) {
        ScheduleRig r;
        r.Network(true);
        r.Ticks(51299.5, 51300.5);
        r.set.PowerResumed();
        r.Ticks(row.wake, row.wake + 9.5);  // a short wait for the network
        EXPECT_EQ(r.Refreshes(), 1);
        r.Ticks(row.wake + 9.5, row.wake + 20);
        EXPECT_EQ(r.Refreshes(), row.refreshes) << row.wake;
        r.set.ckRefresh.Value = 0;
        r.Ticks(51300 + 1800 + 3600, 51300 + 1801.05 + 3600);
        EXPECT_EQ(r.main.lTitle[0].ToolTipText, row.refreshes == 1 ? " tip  | Stand: 09.12.  14:15 " : " tip  | Stand: 09.12.  15:02 ");
    }
}

// Europe/Berlin in 2026: summer time from 29.03. 01:00 UTC to 25.10. 01:00 UTC.
std::int64_t UtcSecond(int y, int m, int d, double seconds) { return std::llround(OleDate(y, m, d, seconds) * 86400.0); }
std::int32_t Berlin(std::int64_t utc) {
    return utc >= UtcSecond(2026, 3, 29, 3600) && utc < UtcSecond(2026, 10, 25, 3600) ? 7200 : 3600;
}

TEST(RefreshSchedule, NextSlotOfEveryIntervalAcrossMidnightAndDaylightSavingDays) {
    const struct {
        int y, m, d;
        int localHours;  // the local day's length
    } days[] = {{2026, 12, 9, 24}, {2026, 3, 29, 23}, {2026, 10, 25, 25}};
    for (const auto& day : days) {
        for (int interval : {1, 5, 10, 15, 30, 60}) {
            // From 22:00 local the day before (UTC+1) to 02:00 local the day after (UTC+1).
            const std::int64_t from = UtcSecond(day.y, day.m, day.d, -2 * 3600 - 3600);
            const std::int64_t to = from + (4 + day.localHours) * 3600;
            std::int64_t t = from + 7, last = 0;
            int slots = 0;
            while (true) {
                const auto next = NextSlot(interval, t, Berlin);
                ASSERT_TRUE(next);
                ASSERT_GT(*next, t);
                if (*next > to) break;
                const std::int64_t local = *next + Berlin(*next);
                EXPECT_EQ(local % (interval * 60), 0) << day.m << ' ' << interval;
                if (last) {
                    EXPECT_EQ(*next - last, interval * 60) << day.m << ' ' << interval;  // real time, evenly
                    // Asked from any second inside, the same slot is the next one.
                    EXPECT_EQ(NextSlot(interval, (last + *next) / 2, Berlin), next);
                }
                last = t = *next;
                ++slots;
            }
            EXPECT_EQ(slots, (4 + day.localHours) * 60 / interval) << day.m << ' ' << interval;
        }
    }
    EXPECT_FALSE(NextSlot(20, 0, Berlin));
    // 01:45 CET on the spring day: the next quarter is 03:00 CEST, a real quarter of an hour later.
    const std::int64_t spring = UtcSecond(2026, 3, 29, 45 * 60);
    EXPECT_EQ(NextSlot(15, spring, Berlin), spring + 900);
    EXPECT_EQ(NextSlot(15, spring, Berlin).value() + 7200, UtcSecond(2026, 3, 29, 3 * 3600));
}

TEST(RefreshSchedule, ClockSetBackOrForwardNeitherSkipsNorDoublesASlot) {
    ScheduleRig back, minute, forward;
    for (ScheduleRig* r : {&back, &minute, &forward}) {
        r->Ticks(50399.5, 50399.6);
        double s = 50399.6;
        EXPECT_EQ(r->Host(s, 50500), std::vector<double>{50400});  // 14:00
    }
    double s = 50700 - 3600;  // 14:05 set back to 13:05: the clock's slots as it shows them
    back.At(s);
    back.set.Timer1_Timer();  // the host's look on WM_TIMECHANGE
    EXPECT_EQ(back.Host(s, 51400), (std::vector<double>{47700, 48600, 49500, 50400, 51300}));
    s = 50405 - 60;  // 14:00:05 set back to 13:59:05: 14:00 is not served again
    minute.At(s);
    minute.set.Timer1_Timer();
    EXPECT_EQ(minute.Host(s, 51400), std::vector<double>{51300});
    s = 50700 + 86400;  // 14:05 set forward a day: one catch-up 10 s on, then the slots
    forward.At(s);
    forward.set.Timer1_Timer();
    EXPECT_EQ(forward.Host(s, 86400 + 52300), (std::vector<double>{86400 + 50710, 86400 + 51300, 86400 + 52200}));
}

}  // namespace
