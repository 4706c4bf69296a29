// The dialog's clock: refreshes on the clock's slots for every interval, late ticks, a refresh
// running at a trigger second, midnight, and the balloon's withdrawal.
#include <gtest/gtest.h>

#include <cmath>

#include "doubles/FakeServices.h"
#include "settings/RefreshSchedule.h"

namespace {

constexpr double kDay = 46000;  // 09.12.2025

struct ScheduleRig : ServicedWindows {
    explicit ScheduleRig(const char* interval = "15") {
        set.coMinText = interval;
        set.ckRefresh.Value = 1;
        fake.settings.Set("Server.Api", "http://api.test/");
        services.transport.Respond(503, "Service Unavailable", "");  // each refresh ends at once with its error
    }
    // Ticks at `seconds` after midnight of kDay (more than a day goes on to the next).
    void TickAt(double seconds) {
        services.clock.now = kDay + seconds / 86400.0;
        services.clock.seconds = static_cast<float>(std::fmod(seconds, 86400.0));
        set.Timer1_Timer();
    }
    int Refreshes() const {
        int n = 0;
        for (const auto& r : services.transport.requests) n += r.url.find("/locations/v1/") != std::string::npos;
        return n;
    }
};

TEST(RefreshSchedule, SlotsOfEveryIntervalOnceEachAcrossMidnight) {
    const struct {
        const char* interval;
        int refreshes;  // 23:00:00 to 01:00:00 inclusive
    } rows[] = {{"1", 121}, {"5", 25}, {"10", 13}, {"15", 9}, {"30", 5}, {"60", 3}, {" 15", 9},
                {"0", 0},   {"", 0},   {"20", 0},  {"1.5", 0}, {"abc", 0}};
    for (const auto& row : rows) {
        ScheduleRig r(row.interval);
        for (int tenth = 82799 * 10 + 5; tenth <= 90000 * 10; ++tenth) r.TickAt(tenth / 10.0);
        EXPECT_EQ(r.Refreshes(), row.refreshes) << '"' << row.interval << '"';
    }
    // Nothing runs without a place or with the automatic refresh switched off.
    ScheduleRig noPlace, off;
    noPlace.set.tCID = " ";
    off.set.ckRefresh.Value = 0;
    for (ScheduleRig* r : {&noPlace, &off})
        for (double s = 899.5; s <= 901; s += 0.1) r->TickAt(s);
    EXPECT_EQ(noPlace.Refreshes() + off.Refreshes(), 0);
}

TEST(RefreshSchedule, LateTicksRunningRefreshAndClockSetBack) {
    ScheduleRig r("60");
    r.TickAt(50399.9);  // 13:59:59.9
    r.TickAt(50403.2);  // a late tick: 14:00:00 was skipped, still served once
    r.TickAt(50403.3);
    EXPECT_EQ(r.Refreshes(), 1);
    r.TickAt(50403.3 - 5);  // the clock set back before 14:00:00 serves it again
    r.TickAt(50403.3);
    EXPECT_EQ(r.Refreshes(), 2);

    // A refresh still under way at 15:00:00 passes that slot over; 16:00:00 is served.
    ScheduleRig busy("60");
    busy.services.tasks.hold = true;
    busy.TickAt(53990);
    busy.set.cChk_Click();
    for (double s = 53990; s < 54010; s += 0.1) busy.TickAt(s);
    busy.services.tasks.hold = false;
    busy.services.tasks.RunAll();
    EXPECT_TRUE(busy.set.cChkEnabled);
    for (double s = 54010; s < 54020; s += 0.1) busy.TickAt(s);
    EXPECT_EQ(busy.Refreshes(), 1);
    busy.TickAt(57599.95);
    busy.TickAt(57600.05);
    EXPECT_EQ(busy.Refreshes(), 2);
}

TEST(RefreshSchedule, BalloonWithdrawnAfterItsTime) {
    const struct {
        float shown;            // BalloonTime
        double lastKept, gone;  // the last tick that keeps it, the first that withdraws it
    } rows[] = {
        {3600.0f, 3609.9, 3610.0},     // a weather balloon: 10 s
        {86395.0f, 86399.9, 86400.05},  // shown at 23:59:55: withdrawn after midnight
    };
    for (const auto& row : rows) {
        ScheduleRig r;
        r.set.TrayTip = "tip";
        r.set.BalloonTime = row.shown;
        r.set.BalloonPending = true;
        r.TickAt(row.lastKept);
        EXPECT_TRUE(r.services.tray.calls.empty());
        r.TickAt(row.gone);
        ASSERT_EQ(r.services.tray.calls.size(), 1u);
        const FakeTray::Call& c = r.services.tray.calls[0];
        EXPECT_TRUE(c.message == TrayMessage::Modify && c.tip == "tip" && c.title.empty() && c.text.empty() &&
                    c.flags == 0 && c.timeout == 1000);
        EXPECT_FALSE(r.set.BalloonPending);
        EXPECT_EQ(r.set.BalloonTime, 0.0f);
    }
    // The option's notice: 2.5 s.
    ScheduleRig r;
    r.services.clock.seconds = 3600.0f;
    r.set.ckBalloon.Value = 1;
    r.set.ckBalloon_Click();
    r.TickAt(3602.4);
    EXPECT_EQ(r.services.tray.calls.size(), 1u);
    r.TickAt(3602.5);
    EXPECT_EQ(r.services.tray.calls.size(), 2u);
}

}  // namespace
