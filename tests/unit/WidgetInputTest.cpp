// The widget's keys, double-clicks, drags, close and hide buttons, thumbnail, and the satellite
// window it opens.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "doubles/FakePorts.h"
#include "doubles/FakeServices.h"
#include "satellite/frmPic.h"
#include "settings/frmSet.h"
#include "widget/FaceControls.h"
#include "widget/frmMain.h"
#include "widget/mFormMove.h"

namespace {

struct App : ServicedWindows {
    explicit App(bool ready = true) {
        fake.system.os = {2, 5, 1};  // Windows XP: no manifest to write, so no restart for it
        main.Form_Load();  // widget at 32, 32; snapping on
        set.Hide();
        if (!ready) set.lTitle = "Wol";
        picWindow.handle = 0x5678;
    }
    void Click(int x, int y, int button = kButtonLeft) {
        main.Face_MouseDown(button, x, y);
        main.Face_MouseUp(button, x, y);
    }
};

TEST(WidgetInput, KeysWithTheirExactShiftStates) {
    constexpr int kF1 = 0x70, kF4 = 0x73, kF5 = 0x74, kShift = 1, kCtrl = 2, kAlt = 4;
    struct Row { int key, shift; const char* place; bool ready, dialog; int refreshes, beeps; bool unload; };
    const Row rows[] = {
        {kF1, 0, "", true, true, 0, 0, false},          {kF1, 0, "", false, false, 0, 0, false},
        {kF1, kShift, "", true, false, 0, 0, false},    {kF1, kCtrl, "", true, false, 0, 0, false},
        {kF1, kAlt, "", true, false, 0, 0, false},      {kF5, 0, " 178738 ", true, false, 1, 0, false},
        {kF5, 0, "  ", true, true, 0, 1, false},        {kF5, 0, "", false, false, 0, 1, false},
        {kF5, kCtrl, "178738", true, false, 0, 0, false}, {kF4, kAlt, "", true, false, 0, 0, true},
        {kF4, kAlt | kShift, "", true, false, 0, 0, false}, {kF4, 0, "", true, false, 0, 0, false},
        {kF1 + 1, 0, "", true, false, 0, 0, false},
    };
    for (const Row& r : rows) {
        App app(r.ready);
        app.set.tCID = r.place;
        app.set.coLocListIndex = 0;
        app.services.tasks.hold = true;  // a refresh stays under way: no reply, no error beep
        const auto refreshed = [&] { return static_cast<int>(app.services.tasks.held.size()); };
        const int runs = refreshed(), beeps = app.fake.system.beeps;
        const std::string row = std::to_string(r.key) + "/" + std::to_string(r.shift) + "/" + r.place;
        EXPECT_EQ(app.main.Form_KeyDown(r.key, r.shift), r.unload) << row;
        EXPECT_EQ(app.set.Visible(), r.dialog) << row << "/" << r.ready;
        EXPECT_EQ(refreshed() - runs, r.refreshes) << row;
        EXPECT_EQ(app.fake.system.beeps - beeps, r.beeps) << row;
    }
}

// Every control of the face, each at a point where it lies in front: what a double-click opens
// and whether a drag that starts there moves the window.
TEST(WidgetInput, DoubleClickAndDragOnEveryControl) {
    const std::set<std::string> opensDialog = {"frmMain", "Pic", "lTemp", "lTempL", "lTempG", "lTempGx", "lHumi",
                                               "lPres", "lPresTrend", "lWindS", "lWindNS", "lUV", "PicDay",
                                               "PicNight", "PicMoon", "PicWind"};
    const std::set<std::string> staysPut = {"lTempG", "lTempGx", "lExit", "lHide", "PicSatBG"};
    std::set<std::string> seen;
    const App layout;
    for (const FaceControl& c : FaceControls(layout.main)) {
        int px = -1, py = -1;
        for (int y = c.Top(); y < c.Top() + c.Height() && px < 0; ++y)
            for (int x = c.Left(); x < c.Left() + c.Width() && px < 0; ++x)
                if (auto f = FaceControlAt(layout.main, x, y); f && f->label == c.label && f->picture == c.picture) px = x, py = y;
        if (px < 0) continue;  // wholly covered
        const std::string name = c.name + ("(" + std::to_string(c.index) + ")");
        seen.insert(c.name);
        App app;
        // Day headings open their link, day 0 the dialog's, with "&amp;" back to "&" (twice escaped
        // stays once escaped); the days' own links are trimmed.
        app.main.lDay[std::max(c.index, 1)].Tag = " http://w.example/d?a=1&amp;b=2&amp;amp;c ";
        app.set.lLinkTag = "http://w.example/d?a=1&amp;b=2&amp;amp;c";
        app.main.Face_DblClick(px, py);
        EXPECT_EQ(app.set.Visible(), opensDialog.count(c.name) == 1) << name;
        std::string opened;
        for (const auto& [url, style] : app.fake.system.shellOpens) opened += url;
        EXPECT_EQ(opened, c.name == std::string("lDay") ? "http://w.example/d?a=1&b=2&amp;c" : "") << name;

        App drag;
        drag.main.Face_MouseMove(0, px, py);
        drag.main.Face_MouseDown(kButtonLeft, px, py);
        drag.main.Face_MouseMove(kButtonLeft, px + 50, py + 20);
        const bool moves = staysPut.count(c.name) == 0;
        EXPECT_EQ(drag.mainWindow.left, moves ? 82 : 32) << name;
        EXPECT_EQ(drag.mainWindow.top, moves ? 52 : 32) << name;
    }
    EXPECT_EQ(seen.size(), 23u);  // every control but the window itself, which the background covers
}

TEST(WidgetInput, CloseButtonPressedSaysGoodbyeAndReleasedAnywhereUnloads) {
    App app;
    app.main.Face_MouseDown(kButtonLeft, 378, 8);
    app.main.TitleColor();
    EXPECT_EQ(app.main.lExit[0].Caption + app.main.lExit[1].Caption + app.mainWindow.caption, "\xA8\xA8" "Aufwiedersehen ...");
    EXPECT_EQ(app.main.lTitle[0].ForeColor, 0xFFFF80u);
    EXPECT_TRUE(app.main.Face_MouseUp(kButtonLeft, 200, 100));
}

TEST(WidgetInput, LockKeepsTheGrabPointAndForeignDragsDoNotMove) {
    App app;
    app.main.Face_MouseMove(0, 200, 100);
    app.main.LockW = true;
    app.main.Face_MouseMove(0, 150, 60);
    app.main.Face_MouseDown(kButtonLeft, 150, 60);
    app.main.Face_MouseMove(kButtonLeft, 300, 120);
    EXPECT_EQ(app.mainWindow.left, 32);
    EXPECT_EQ(FormMoveState().GrabX, 200);
    app.main.Face_MouseUp(kButtonLeft, 300, 120);
    app.main.LockW = false;
    app.main.Face_MouseMove(kButtonLeft, 260, 110);  // the button went down elsewhere
    EXPECT_EQ(app.mainWindow.left, 32);
}

TEST(WidgetInput, ThumbnailOpensTheSatelliteWindowCentredOnTheWidgetsMonitor) {
    App app;
    app.fake.display.monitors.push_back({1920, -200, 3840, 1000});
    app.mainWindow.left = 2000;
    EXPECT_EQ(std::tuple(app.picWindow.left, app.picWindow.width, app.picWindow.height), std::tuple(-65535, 642, 482));
    app.main.Face_MouseDown(kButtonLeft, 60, 100);
    app.main.Face_MouseUp(kButtonLeft, 90, 100);  // released beside the thumbnail: no click
    app.Click(60, 100, kButtonRight);
    EXPECT_FALSE(app.picWindow.visible);
    app.Click(60, 100);
    EXPECT_TRUE(app.picWindow.visible && !app.main.PicSat.Enabled);
    EXPECT_EQ(app.picWindow.left, 1920 + (1920 - 642) / 2);
    EXPECT_EQ(app.picWindow.top, -200 + (1200 - 482) / 2);

    // The focus watch: hidden once another window has the foreground; the thumbnail works again.
    app.fake.system.foreground = app.picWindow.handle;
    app.pic.Timer1_Timer();
    EXPECT_TRUE(app.picWindow.visible);
    app.fake.system.foreground = app.mainWindow.handle;
    app.pic.Timer1_Timer();
    EXPECT_TRUE(!app.picWindow.visible && app.main.PicSat.Enabled);

    // Dragged 3 pixels from the monitor's edge (no snapping), it keeps that place; when the right
    // monitor goes, both windows come back to the one that is left.
    app.Click(60, 100);
    app.pic.Pic_MouseMove(0, 10, 10);
    app.pic.Pic_MouseMove(kButtonLeft, 10 - (app.picWindow.left - 1923), 10);
    EXPECT_EQ(app.picWindow.left, 1923);
    app.pic.HideStep();
    app.mainWindow.left = 2500;
    app.fake.display.monitors.pop_back();
    app.main.Form_DisplayChange();
    EXPECT_EQ(app.mainWindow.left, 1920 - 388);
    EXPECT_EQ(app.picWindow.left, 1920 - 642);
}

}  // namespace
