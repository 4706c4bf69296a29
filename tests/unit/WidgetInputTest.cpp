// The widget's keys, double-clicks, drags, close and hide buttons, thumbnail, and the satellite
// window it opens.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "doubles/FakePorts.h"
#include "satellite/frmPic.h"
#include "settings/frmSet.h"
#include "widget/FaceControls.h"
#include "widget/frmMain.h"
#include "widget/mFormMove.h"

namespace {

struct App {
    FakePorts fake;
    FakeWindow mainWindow, setWindow, picWindow;
    frmMain main{fake.ports, mainWindow};
    frmSet set{fake.ports, setWindow, main};
    frmPic pic{picWindow, main};
    explicit App(bool ready = true) {
        main.Attach(set, pic);
        main.Form_Load();
        set.Hide();
        if (!ready) set.lTitle = "Wol";
        picWindow.handle = 0x5678;
    }
    void Click(int x, int y, int button = kButtonLeft) {
        main.Face_MouseDown(button, x, y);
        main.Face_MouseUp(button, x, y);
    }
};

constexpr int kF1 = 0x70, kF4 = 0x73, kF5 = 0x74;
constexpr int kShift = 1, kCtrl = 2, kAlt = 4;

TEST(WidgetInput, KeysWithTheirExactShiftStates) {
    struct Row { int key, shift; const char* place; bool ready; bool dialog; int refreshes, beeps; bool unload; };
    const Row rows[] = {
        {kF1, 0, "", true, true, 0, 0, false},         {kF1, 0, "", false, false, 0, 0, false},
        {kF1, kShift, "", true, false, 0, 0, false},   {kF5, 0, " 178738 ", true, false, 1, 0, false},
        {kF5, 0, "  ", true, true, 0, 1, false},       {kF5, 0, "", false, false, 0, 1, false},
        {kF5, kCtrl, "178738", true, false, 0, 0, false}, {kF4, kAlt, "", true, false, 0, 0, true},
        {kF4, kAlt | kShift, "", true, false, 0, 0, false}, {kF4, 0, "", true, false, 0, 0, false},
        {0x41, 0, "", true, false, 0, 0, false},
    };
    for (const Row& r : rows) {
        App app(r.ready);
        app.set.tCID = r.place;
        const int runs = app.set.RefreshRuns, beeps = app.fake.system.beeps;
        EXPECT_EQ(app.main.Form_KeyDown(r.key, r.shift), r.unload) << r.key << "/" << r.shift;
        EXPECT_EQ(app.set.Visible(), r.dialog) << r.key << "/" << r.shift << "/" << r.ready;
        EXPECT_EQ(app.set.RefreshRuns - runs, r.refreshes) << r.key << "/" << r.shift;
        EXPECT_EQ(app.fake.system.beeps - beeps, r.beeps) << r.key << "/" << r.shift;
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
        const std::string name = c.name;
        seen.insert(name);
        App app;
        app.main.lDay[c.index < 0 ? 0 : c.index].Tag = "http://wetter.example/tag";
        app.set.lLinkTag = "http://wetter.example/jetzt";
        app.main.Face_DblClick(px, py);
        EXPECT_EQ(app.set.Visible(), opensDialog.count(name) == 1) << name << "(" << c.index << ")";
        EXPECT_EQ(app.fake.system.shellOpens.size(), name == "lDay" ? 1u : 0u) << name;
        app.main.Face_MouseUp(kButtonLeft, px, py);

        App drag;
        drag.main.Face_MouseMove(0, px, py);
        drag.main.Face_MouseDown(kButtonLeft, px, py);
        drag.main.Face_MouseMove(kButtonLeft, px + 50, py + 20);
        EXPECT_EQ(drag.mainWindow.left, staysPut.count(name) ? 32 : 82) << name << "(" << c.index << ")";
        EXPECT_EQ(drag.mainWindow.top, staysPut.count(name) ? 32 : 52) << name << "(" << c.index << ")";
    }
    EXPECT_EQ(seen.size(), 23u);  // every control but the window itself, which the background covers
}

TEST(WidgetInput, DayLinksReplaceTheEscapedAmpersand) {
    struct Row { int day; const char* tag; const char* opened; };
    const Row rows[] = {
        {0, "http://w.example/a?x=1&amp;y=2&amp;amp;z", "http://w.example/a?x=1&y=2&amp;z"},
        {0, " http://w.example/jetzt", "%20http://w.example/jetzt"},  // the dialog's link is not trimmed
        {3, "  http://w.example/d?day=3&amp;unit=c  ", "http://w.example/d?day=3&unit=c"},
        {2, "   ", nullptr},
    };
    for (const Row& r : rows) {
        App app;
        (r.day == 0 ? app.set.lLinkTag : app.main.lDay[r.day].Tag) = r.tag;
        const Label& heading = app.main.lDay[r.day];
        app.main.Face_DblClick(heading.Left + 2, heading.Top + 2);
        if (!r.opened) {
            EXPECT_TRUE(app.fake.system.shellOpens.empty()) << r.tag;
            continue;
        }
        ASSERT_EQ(app.fake.system.shellOpens.size(), 1u) << r.tag;
        EXPECT_EQ(app.fake.system.shellOpens[0].first, r.opened);
    }
}

TEST(WidgetInput, CloseAndHideButtons) {
    App app;
    app.main.Face_MouseDown(kButtonLeft, 378, 8);
    EXPECT_EQ(app.main.lExit[0].Caption, "\xA8");
    EXPECT_EQ(app.main.lExit[1].Caption, "\xA8");
    EXPECT_EQ(app.mainWindow.caption, "Aufwiedersehen ...");
    app.main.TitleColor();
    EXPECT_EQ(app.main.lTitle[0].ForeColor, 0xFFFF80u);
    EXPECT_TRUE(app.main.Face_MouseUp(kButtonLeft, 200, 100)) << "released off the button: still goodbye";

    App hide;
    hide.main.Face_MouseDown(kButtonLeft, 366, 8);
    EXPECT_FALSE(hide.main.lHide[0].Visible);
    EXPECT_TRUE(hide.mainWindow.visible);
    EXPECT_FALSE(hide.main.Face_MouseUp(kButtonLeft, 366, 8));
    EXPECT_FALSE(hide.mainWindow.visible);
    EXPECT_TRUE(hide.main.lHide[0].Visible);
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
    EXPECT_EQ(app.picWindow.left, -65535);
    EXPECT_EQ(app.picWindow.width, 642);
    EXPECT_EQ(app.picWindow.height, 482);
    app.main.Face_MouseDown(kButtonLeft, 60, 100);
    app.main.Face_MouseUp(kButtonLeft, 90, 100);  // released beside the thumbnail: no click
    EXPECT_FALSE(app.picWindow.visible);
    app.Click(60, 100, kButtonRight);
    EXPECT_FALSE(app.picWindow.visible);
    app.Click(60, 100);
    EXPECT_TRUE(app.picWindow.visible);
    EXPECT_FALSE(app.main.PicSat.Enabled);
    EXPECT_EQ(app.picWindow.left, 1920 + (1920 - 642) / 2);
    EXPECT_EQ(app.picWindow.top, -200 + (1200 - 482) / 2);

    // The focus watch: hidden once another window has the foreground, and the thumbnail works again.
    app.fake.system.foreground = app.picWindow.handle;
    app.pic.Timer1_Timer();
    EXPECT_TRUE(app.picWindow.visible);
    app.fake.system.foreground = app.mainWindow.handle;
    app.pic.Timer1_Timer();
    EXPECT_FALSE(app.picWindow.visible);
    EXPECT_TRUE(app.main.PicSat.Enabled);

    // Shown again where it was, after the user dragged it (no snapping there).
    app.Click(60, 100);
    app.pic.Pic_MouseMove(0, 10, 10);
    app.pic.Pic_MouseMove(kButtonLeft, 10 - (app.picWindow.left - 1923), 10);
    EXPECT_EQ(app.picWindow.left, 1923);
    app.pic.HideStep();
    app.mainWindow.left = 100;
    app.Click(60, 100);
    EXPECT_EQ(app.picWindow.left, 1923);

    // The right monitor goes: both windows come back to the one that is left.
    app.pic.HideStep();
    app.mainWindow.left = 2500;
    app.fake.display.monitors.pop_back();
    app.main.Form_DisplayChange();
    EXPECT_EQ(app.mainWindow.left, 1920 - 388);
    EXPECT_EQ(app.picWindow.left, 1920 - 642);
}

TEST(WidgetInput, NarrowPictureLeavesTheSatelliteWindowSize) {
    App app;
    app.pic.PicRect.w = 31;
    app.pic.Resize();
    EXPECT_EQ(app.picWindow.width, 642);
    app.pic.PicRect = {0, 0, 32, 20};
    app.pic.Resize();
    EXPECT_EQ(app.picWindow.width, 34);
    EXPECT_EQ(app.picWindow.height, 22);
}

}  // namespace
