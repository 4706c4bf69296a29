// The dialog's clock: slots of every interval, late ticks, a refresh running at a trigger
// second, midnight, the balloon's withdrawal, catching up after sleep or a lost network.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "doubles/FakeServices.h"

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
    // Ticks every 0.1 s from `from` up to `to` (seconds after midnight of 09.12.2025, on into the next day).
    void Ticks(double from, double to) {
        for (int i = 0; from + i * 0.1 < to; ++i) {
            const double s = from + i * 0.1;
            services.clock.now = 46000 + s / 86400.0;
            services.clock.seconds = static_cast<float>(std::fmod(s, 86400.0));
            set.Timer1_Timer();
        }
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

TEST(RefreshSchedule, BalloonWithdrawnAfterTenSecondsOrItsNoticeAfterTwoAndAHalf) {
    const struct {
        float shown;
        double kept, gone;  // the last tick that keeps it, the first that withdraws it
    } rows[] = {{3600.0f, 3609.95, 3610.05}, {86395.0f, 86399.95, 86400.05}, {-1, 3602.45, 3602.55}};
    for (const auto& row : rows) {
        ScheduleRig r;
        r.set.TrayTip = "tip";
        r.set.BalloonTime = row.shown;
        r.services.clock.seconds = 3600.0f;
        if (row.shown < 0) r.set.ckBalloon_Click();
        const std::size_t before = r.services.tray.calls.size();
        r.Ticks(row.kept, row.kept + 0.05);
        EXPECT_EQ(r.services.tray.calls.size(), before);
        r.Ticks(row.gone, row.gone + 0.05);
        ASSERT_EQ(r.services.tray.calls.size(), before + 1);
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

}  // namespace
