// Start and shutdown sequences of the widget, with the dialog's settings rules.
#include <gtest/gtest.h>

#include "doubles/FakePorts.h"
#include "doubles/FakeServices.h"
#include "satellite/frmPic.h"
#include "settings/frmSet.h"
#include "widget/frmMain.h"

namespace {

struct App : ServicedWindows {
    App() {
        // The start sequence reads the place from the store; no chosen place beforehand.
        set.coLocListIndex = -1;
        set.tCID.clear();
        fake.system.exePath = "C:\\Apps\\Wolkenglas.exe";
        fake.files.files[fake.system.exePath] = "MZ program bytes";
        fake.system.os = {2, 5, 1};  // Windows XP: no manifest to write, so no restart for it
    }
    LoadOutcome Load() { return main.Form_Load(); }
};

TEST(Startup, EmptyStoreOpensTheDialogAndShutdownStoresTheDefaults) {
    App app;
    ASSERT_EQ(app.Load(), LoadOutcome::Running);
    EXPECT_TRUE(app.mainWindow.visible);
    EXPECT_EQ(app.mainWindow.caption, "Wolkenglas");
    EXPECT_EQ(app.main.lTitle[0].ToolTipText, " Wolkenglas v1.54 | [F1]: Einstellungen | [F5]: Aktualisieren ");
    EXPECT_EQ(app.set.lVersion, "Version 1.54 - 03.11.2015");
    EXPECT_EQ(app.set.ckAutoStart.Value, 0);
    EXPECT_TRUE(app.set.Visible());
    EXPECT_TRUE(app.services.transport.requests.empty());
    // Reading never creates keys: only the version was written.
    EXPECT_EQ(app.fake.settings.writes, std::vector<std::string>{"Version"});

    // Shutdown writes the window, then the dialog's keys in their order: the defaults, as the
    // next start reads them, and where the user left the window.
    app.mainWindow.left = 640;
    app.mainWindow.visible = false;
    app.fake.settings.writes.clear();
    app.main.Form_Unload();
    std::vector<std::pair<std::string, std::string>> written;
    for (const std::string& key : app.fake.settings.writes) written.emplace_back(key, app.fake.settings.Get(key));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Window.Top", "32"},       {"Window.Left", "640"},   {"Window.Visible", "0"},   {"Metric", "1"},
        {"Location.Selected", ""},  {"Window.Magnetic", "1"}, {"Window.Lock", "0"},      {"Refresh.Enabled", "1"},
        {"Refresh.Interval", "60"}, {"Update", "1"},          {"BalloonTip", "1"}};
    EXPECT_EQ(written, expected);
    EXPECT_EQ(app.services.tray.calls.back().message, TrayMessage::Delete);

    App again;  // the version is written only when it changes
    again.fake.settings.Set("Version", "1.54");
    again.Load();
    EXPECT_TRUE(again.fake.settings.writes.empty());
}

TEST(Startup, StoredPlaceRunsTheFirstRefreshAnUnusableOneOpensTheDialog) {
    const struct { const char *place, *key; bool usable; } rows[] = {
        {"  Berlin, Berlin, DE ", "10178", true}, {"Berlin", "123|456", false}, {"Berlin", "   ", false}, {" ", "10178", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.place) + " / " + row.key);
        App app;
        app.fake.settings.Set("Location.Selected", row.place);
        app.fake.settings.Set("Location.Key", row.key);
        app.Load();
        EXPECT_EQ(app.set.Visible(), !row.usable);
        EXPECT_EQ(app.services.transport.requests.size(), row.usable ? 1u : 0u) << "the first refresh asks for the place";
        if (!row.usable) continue;
        // The tray icon is there before that refresh, with an empty tooltip.
        ASSERT_FALSE(app.services.tray.calls.empty());
        EXPECT_EQ(app.services.tray.calls[0].message, TrayMessage::Add);
        EXPECT_EQ(app.services.tray.calls[0].tip, "");
        EXPECT_EQ(app.set.tCID, "10178");
        EXPECT_EQ(app.set.coLocText, "Berlin, Berlin, DE");
        EXPECT_FALSE(app.set.cSearchEnabled);
    }
}

TEST(Startup, DialogReadRules) {
    using Stored = std::vector<std::pair<std::string, std::string>>;
    struct Row { Stored stored; bool oldSystem; std::string interval; bool metric; int dock; bool lock; int update, balloon, refresh = 1; };
    const Row rows[] = {
        {{}, false, "60", true, 8, false, 1, 1},
        {{{"Refresh.Interval", "45"}}, false, "60", true, 8, false, 1, 1},
        {{{"Refresh.Interval", "10"}}, false, "10", true, 8, false, 1, 1},
        {{{"Metric", "2"}}, false, "60", true, 8, false, 1, 1},
        {{{"Metric", ""}}, false, "60", true, 8, false, 1, 1},
        {{{"Metric", "0"}, {"Window.Magnetic", "0"}, {"Window.Lock", "1"}, {"Update", "0"}}, false, "60", false, 0, true, 0, 1},
        {{{"BalloonTip", "0"}, {"Refresh.Enabled", "0"}}, false, "60", true, 8, false, 1, 0, 0},
        // No balloon tips before Windows 2000: the box is cleared and disabled.
        {{{"BalloonTip", "1"}}, true, "60", true, 8, false, 1, 0},
    };
    for (const Row& r : rows) {
        App app;
        for (const auto& [key, value] : r.stored) app.fake.settings.Set(key, value);
        if (r.oldSystem) app.fake.system.os = OsVersion{1, 4, 10};
        app.Load();
        const std::string label = r.stored.empty() ? "empty store" : r.stored[0].first + "=" + r.stored[0].second;
        EXPECT_EQ(app.set.coMinText, r.interval) << label;
        EXPECT_EQ(app.set.oMetric[0], r.metric) << label;
        EXPECT_EQ(app.set.oMetric[1], !r.metric) << label;
        EXPECT_EQ(app.main.Dock, r.dock) << label;
        EXPECT_EQ(app.main.LockW, r.lock) << label;
        EXPECT_EQ(app.set.ckUpdate.Value, r.update) << label;
        EXPECT_EQ(app.set.ckBalloon.Value, r.balloon) << label;
        EXPECT_EQ(app.set.ckRefresh.Value, r.refresh) << label;
        EXPECT_EQ(app.set.ckBalloon.Enabled, !r.oldSystem) << label;
        EXPECT_EQ(app.mainWindow.shadow, !r.oldSystem) << label;
    }
}

TEST(Startup, SaveSetTrimsThePlaceAndKeepsAnEarlierKey) {
    App app;
    app.fake.settings.Set("Location.Key", "old|format");
    app.Load();
    app.set.coLocText = "  Potsdam ";
    app.set.SaveSet();
    EXPECT_EQ(app.fake.settings.Get("Location.Selected"), "Potsdam");
    EXPECT_EQ(app.fake.settings.Get("Location.Key"), "old|format");
    app.set.coLocList = {"Potsdam"};
    app.set.LocKeys = {"14467"};
    app.set.coLocListIndex = 0;
    app.set.SaveSet();
    EXPECT_EQ(app.fake.settings.Get("Location.Key"), "14467");
}

TEST(Startup, StoredPositionAndVisibility) {
    struct Row { const char* left; const char* top; int wantLeft, wantTop; };
    const Row rows[] = {
        {"100", "200", 100, 200},
        {"-380", "10", 32, 32},      // only 8 pixels would show
        {"-300", "10", -300, 10},   // 88 pixels show: the user can still grab it
        {"1500", "20", 1500, 20},    // partly visible is reachable
        {"2500", "20", 32, 32},      // the monitor on the right was removed
        {"abc", "50", 32, 50},       // not a number
        {"12px", "", 32, 32},
        {" 40 ", "60", 40, 60},
    };
    for (const Row& r : rows) {
        App app;
        app.fake.settings.Set("Window.Left", r.left);
        app.fake.settings.Set("Window.Top", r.top);
        app.Load();
        EXPECT_EQ(app.mainWindow.left, r.wantLeft) << r.left << "," << r.top;
        EXPECT_EQ(app.mainWindow.top, r.wantTop) << r.left << "," << r.top;
    }
    App twoMonitors;
    twoMonitors.fake.display.monitors.push_back({1920, 0, 3840, 1080});
    twoMonitors.fake.settings.Set("Window.Left", "2500");
    twoMonitors.Load();
    EXPECT_EQ(twoMonitors.mainWindow.left, 2500);

    App hidden;
    hidden.fake.settings.Set("Window.Visible", "0");
    hidden.Load();
    EXPECT_FALSE(hidden.mainWindow.visible);
    EXPECT_TRUE(hidden.set.Visible());  // no place stored: the dialog still opens
}

TEST(Startup, SecondInstanceIsRefusedUnlessReloading) {
    App second;
    second.fake.system.otherInstance = true;
    EXPECT_EQ(second.Load(), LoadOutcome::EndProcess);
    ASSERT_EQ(second.fake.system.boxes.size(), 1u);
    EXPECT_EQ(second.fake.system.boxes[0].text, "FEHLER:  Das Programm l\xE4uft bereits!      ");
    EXPECT_EQ(second.fake.system.boxes[0].title, " Wolkenglas");
    EXPECT_EQ(second.fake.system.boxes[0].icon, MsgIcon::Stop);
    EXPECT_FALSE(second.mainWindow.visible);
    EXPECT_FALSE(second.fake.settings.Has("Window.Left"));

    // After a restart the lock is taken too, once the old process has let go of it.
    App reloading;
    reloading.fake.system.otherInstance = true;
    reloading.fake.system.otherInstanceEndsAfter = 3;
    reloading.fake.settings.Set("Reload", "1");
    EXPECT_EQ(reloading.Load(), LoadOutcome::Running);
    EXPECT_FALSE(reloading.fake.settings.Has("Reload"));
    EXPECT_TRUE(reloading.fake.system.boxes.empty());
    EXPECT_EQ(reloading.fake.system.sleeps, std::vector<std::uint32_t>(3, 250));

    App beside;  // a restart that meets another instance that stays is refused like any start
    beside.fake.system.otherInstance = true;
    beside.fake.settings.Set("Reload", "1");
    EXPECT_EQ(beside.Load(), LoadOutcome::EndProcess);
    EXPECT_EQ(beside.fake.system.boxes.size(), 1u);
    EXPECT_FALSE(beside.fake.settings.Has("Reload"));

    App zero;
    zero.fake.system.otherInstance = true;
    zero.fake.settings.Set("Reload", "0");
    EXPECT_EQ(zero.Load(), LoadOutcome::EndProcess);
}

TEST(Startup, CrcAndStartupSwitchesByFirstArgumentSubstringAnyCase) {
    struct Row { const char* cmd; bool crc; bool delay; };
    const Row rows[] = {
        {"/CRC", true, false},      {"x-crcx", true, false},   {"/startup /crc", false, true},
        {"/StartUp", false, true},  {"\"/crc\"", true, false}, {" /crc", false, false},
        {"crc", false, false},      {"", false, false},
    };
    for (const Row& r : rows) {
        App app;
        app.fake.files.files[app.fake.system.exePath] = "abc";
        app.fake.system.commandLine = r.cmd;
        EXPECT_EQ(app.Load() == LoadOutcome::EndProcess, r.crc) << r.cmd;
        EXPECT_EQ(app.fake.system.sleeps == std::vector<std::uint32_t>{30000}, r.delay) << r.cmd;
        EXPECT_EQ(app.mainWindow.visible, !r.crc) << r.cmd;
        if (!r.crc) {
            EXPECT_TRUE(app.fake.system.clipboard.empty()) << r.cmd;
            continue;
        }
        // The report puts the file's checksum on the clipboard and ends.
        EXPECT_EQ(app.fake.system.clipboard, std::vector<std::string>{"352441C2"});
        ASSERT_EQ(app.fake.system.boxes.size(), 1u);
        EXPECT_EQ(app.fake.system.boxes[0].text, "C:\\Apps\\Wolkenglas.exe      \r\n\r\nCRC32:  352441C2  -->  Zwischenablage");
        EXPECT_EQ(app.fake.system.boxes[0].title, "Wolkenglas:  CRC-Check");
        EXPECT_EQ(app.fake.system.boxes[0].icon, MsgIcon::Information);
    }
}

TEST(CloseMarker, OnlyANonEmptyMarkerBesideTheProgramCloses) {
    App app;
    app.Load();
    EXPECT_FALSE(app.main.Timer2_Timer());
    app.fake.files.files["C:\\Apps\\Wolkenglas.exe.close"] = "";
    EXPECT_FALSE(app.main.Timer2_Timer());
    app.fake.files.files["C:\\Apps\\Wolkenglas.exe.close"] = "x";
    EXPECT_TRUE(app.main.Timer2_Timer());
    app.fake.files.hidden.push_back("C:\\Apps\\Wolkenglas.exe.close");
    EXPECT_FALSE(app.main.Timer2_Timer());
}

}  // namespace
