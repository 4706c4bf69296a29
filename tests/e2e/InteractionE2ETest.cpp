// The widget used by hand under Wine's "shell" desktop: dragging with and without snapping, the
// lock, Alt+F4, the hide and close buttons, the satellite window, keys that must do nothing, a
// widget minimised from outside, a place name beyond Windows-1252 and the tray icon after a
// taskbar restart.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <tuple>

#include "../doubles/WeatherServerProcess.h"
#include "ProbeSupport.h"
#include "ScreenColours.h"
#include "WineSession.h"

using namespace std::chrono_literals;

namespace {

struct Widget {
    WeatherServerProcess server;
    WineSession wine;
    std::string id;

    // A stored place and the local weather server: the settings dialog stays hidden, and the first
    // refresh has a server to ask.
    explicit Widget(std::initializer_list<std::pair<std::string, std::string>> settings = {}) {
        for (const auto& [name, value] : {std::pair<std::string, std::string>{"Server.Api", server.Base()},
                                          {"Server.Satellite", server.Base()}, {"Server.Source", "service"},
                                          {"Location.Key", "171001"},
                                          {"Location.Selected", "Berlin, Berlin, DE"}})
            wine.RegAdd(kSettingsKey, name, value);
        for (const auto& [name, value] : settings) wine.RegAdd(kSettingsKey, name, value);
        wine.Start("", "shell");
        // The refresh may rename the window at once: any title that begins with the product name.
        // The start has ended when the first refresh has asked for its last piece, the satellite picture.
        WaitUntil([&] {
            std::istringstream ids(wine.Run("xdotool search --name '^Wolkenglas'").output);
            for (std::string w; id.empty() && std::getline(ids, w);)
                if (!w.empty() && wine.Geometry(w).viewable) id = w;
            return !id.empty() && Requests("GET /sat_mosaic") == 1;
        }, 90s);
    }
    // How many requests the server saw whose line begins with `start`.
    int Requests(const std::string& start) const {
        int n = 0;
        for (const auto& request : server.Requests()) n += !request.empty() && request[0].rfind(start, 0) == 0;
        return n;
    }
    WindowGeometry Where() const { return wine.Geometry(id); }
    bool MovesTo(int x, int y) const {
        return WaitUntil([&] { return Where().x == x && Where().y == y; }, 10s);
    }
    void Mouse(const std::string& steps) const { wine.Run("xdotool " + steps); }
    static std::string At(int x, int y) { return "mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " "; }
    // Presses the left button on the face at (x, y) and lets it go with the pointer at a screen point.
    void Drag(int x, int y, int toX, int toY) const {
        Mouse(At(Where().x + x, Where().y + y) + "mousedown 1 " + At(toX, toY) + "mouseup 1");
    }
    void ClickFace(int x, int y) const { Mouse(At(Where().x + x, Where().y + y) + "click 1"); }
    std::string Caption() const {
        std::string caption = wine.Run("xdotool getwindowname " + id).output;
        while (!caption.empty() && caption.back() == '\n') caption.pop_back();
        return caption;
    }
    // wgprobe on the widget's desktop: a window command with the widget's caption, or the tray's.
    std::string Probe(const std::string& command, const std::string& what, std::vector<std::string> more = {}) const {
        more.insert(more.begin(), {command, WineSession::kDesktop, what});
        return wine.Probe(more);
    }
    // A window command with the widget's caption of the moment: the title may change between
    // reading it and the probe's search (the update check shows its own), and a loaded machine
    // may end the probe before it answers, so a miss asks again.
    std::string ProbeWidget(const std::string& command, std::vector<std::string> more = {}) const {
        std::string out;
        WaitUntil([&] { return (out = Probe(command, Caption(), more)).rfind("window ", 0) == 0; }, 10s);
        return out;
    }
    bool Viewable(const std::string& window, bool wanted) const {
        return WaitUntil([&] { return wine.Geometry(window).viewable == wanted; }, 10s);
    }
};

TEST(Interaction, DragSnapsToTheEdgesAndTheTaskbarAndAltF4StoresThePlace) {
    Widget w;
    ASSERT_FALSE(w.id.empty()) << "the widget window did not appear";
    w.Drag(200, 100, 204, 105);  // grabbed by a night picture, let go 4 and 5 pixels from the corner
    EXPECT_TRUE(w.MovesTo(0, 0)) << w.Where().x << "," << w.Where().y;
    // 5 pixels from the right edge and 4 above the taskbar, which Wine reports as its 1 pixel at
    // the bottom (0, 799, 1280, 800): the widget stops at 799 - 213.
    w.Drag(200, 100, 200 + 1280 - 388 - 5, 100 + 799 - 213 - 4);
    EXPECT_TRUE(w.MovesTo(892, 586)) << w.Where().x << "," << w.Where().y;
    EXPECT_TRUE(w.wine.Key(w.id, "alt+F4"));
    ASSERT_TRUE(w.Viewable(w.id, false)) << "Alt+F4 did not close the widget";
    EXPECT_TRUE(WaitUntil([&] { return w.wine.RegQuery(kSettingsKey, "Window.Left") == "892"; }, 10s));
    EXPECT_EQ(w.wine.RegQuery(kSettingsKey, "Window.Top"), "586");
}

TEST(Interaction, WithoutSnappingItLeavesTheScreenTheLockHoldsItAndHideHidesIt) {
    {
        Widget w({{"Window.Magnetic", "0"}});
        ASSERT_FALSE(w.id.empty());
        w.Drag(200, 100, 180, 105);
        EXPECT_TRUE(w.MovesTo(-20, 5)) << w.Where().x << "," << w.Where().y;
    }
    Widget w({{"Window.Lock", "1"}});
    ASSERT_FALSE(w.id.empty());
    w.Drag(200, 100, 500, 400);
    // Nor can another program (or the keyboard through the system) move it: wgprobe's move has
    // returned once the widget has answered it.
    {
        const std::string moved = w.ProbeWidget("move", {"500", "400"});
        EXPECT_NE(moved.find("\nat 32,32\n"), std::string::npos) << moved;
    }
    // The hide button after the drag: once it has hidden the widget, the drag has been handled.
    w.ClickFace(366, 8);
    EXPECT_TRUE(w.Viewable(w.id, false)) << "still shown after the hide button";
    w.Mouse(Widget::At(1280 - 10, 800 - 10) + "click 1");  // our icon, the only one, at the right end
    EXPECT_TRUE(w.Viewable(w.id, true)) << "the tray icon did not bring the widget back";
    EXPECT_EQ(std::pair(w.Where().x, w.Where().y), std::pair(32, 32)) << "the lock did not hold the widget";
}

TEST(Interaction, NoMinimiseBoxATrayClickRestoresAndAnExitWhileMinimisedStoresThePlace) {
    Widget w;
    ASSERT_FALSE(w.id.empty());
    const auto title = w.wine.WaitForWindow("Wolkenglas:  Berlin", 60s);  // the caption stays from here on
    ASSERT_TRUE(title);
    EXPECT_NE(w.ProbeWidget("window").find("\nstyle\n"), std::string::npos) << "a minimise box or system menu";
    w.Drag(200, 100, 500, 300);
    ASSERT_TRUE(w.MovesTo(300, 200));
    // Minimised by another program: the tray's click brings it back to its place.
    ASSERT_NE(w.ProbeWidget("minimize").find("\nstyle iconic\n"), std::string::npos) << "not minimised";
    w.Mouse(Widget::At(1280 - 10, 800 - 10) + "click 1");
    EXPECT_TRUE(WaitUntil([&] { return w.ProbeWidget("window").find("\nstyle\n") != std::string::npos; }, 10s))
        << "the tray's click did not restore the widget";
    EXPECT_EQ(std::pair(w.Where().x, w.Where().y), std::pair(300, 200));
    // The program ends (its close marker) while minimised: the place it comes back to is stored.
    ASSERT_NE(w.ProbeWidget("minimize").find("\nstyle iconic\n"), std::string::npos);
    std::ofstream(w.wine.LinuxExe() + ".close") << "1";
    WaitUntil([&] { return w.wine.RegQuery(kSettingsKey, "Window.Left").has_value(); }, 15s);
    EXPECT_EQ(w.wine.RegQuery(kSettingsKey, "Window.Left"), "300");
    EXPECT_EQ(w.wine.RegQuery(kSettingsKey, "Window.Top"), "200");
}

TEST(Interaction, TrayIconOfAPlaceBeyondWindows1252ComesBackWhenTheTaskbarRestarts) {
    Widget w({{"Location.Key", "171017"}, {"Location.Selected", "PL: 90-001 \xC5\x81\xC3\xB3" "d\xC5\xBA, Polen"}});
    ASSERT_FALSE(w.id.empty());
    // The name shows as itself in the caption and the tray's tooltip (which wgprobe reads back
    // as the program keeps it: what Windows-1252 lacks as its UTF-8 bytes).
    ASSERT_TRUE(w.wine.WaitForWindow("Wolkenglas:  \xC5\x81\xC3\xB3" "d\xC5\xBA, Polen", 60s));
    // Wine's notification area keeps the tooltip of a deleted icon: a new icon adds one more.
    const auto tips = [](const std::string& tray) {
        const std::string tip = "\t \\xC5\\x81\\xF3d\\xC5\\xBA, Polen: ";
        std::size_t n = 0;
        for (auto at = tray.find(tip); at != std::string::npos; at = tray.find(tip, at + 1)) ++n;
        return n;
    };
    const auto pictureColours = [&w](const char* name) {
        return screen::Colours(w.wine, w.wine.Screenshot(name), 1240, 780, 40, 20).size();
    };
    ASSERT_GT(pictureColours("tray-before"), 12u) << "no icon after the refresh";
    ASSERT_EQ(tips(w.Probe("tray", "list")), 1u);
    const std::string deleted = w.Probe("tray", "delete");
    ASSERT_EQ(deleted.rfind("deleted\n", 0), 0u) << deleted;
    ASSERT_TRUE(WaitUntil([&] { return pictureColours("tray-deleted") <= 4; }, 5s)) << "the icon is still there";
    std::string back = w.Probe("tray", "taskbar-created");
    WaitUntil([&] { return tips(back) > tips(deleted) || tips(back = w.Probe("tray", "list")) > tips(deleted); }, 5s);
    EXPECT_EQ(tips(back), tips(deleted) + 1) << back;
    EXPECT_GT(pictureColours("tray-after-taskbar-created"), 12u) << "no picture in the notification area";
}

TEST(Interaction, ThumbnailShowsTheSatelliteWindowCentredUntilAKeyOrAClickElsewhere) {
    Widget w({{"Demo.SampleFace", "1"}});
    ASSERT_FALSE(w.id.empty());
    w.ClickFace(66, 112);
    const auto pic = w.wine.WaitForWindow("Satellitenbild", 10s);
    ASSERT_TRUE(pic) << "no satellite window after a click on the thumbnail";
    const WindowGeometry g = w.wine.Geometry(*pic);
    EXPECT_EQ(std::tuple(g.x, g.y, g.width, g.height), std::tuple((1280 - 642) / 2, (800 - 482) / 2, 642, 482));
    const std::string shot = w.wine.Screenshot("satellite-window");
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{641, 481}})
        EXPECT_EQ(WineSession::Pixel(shot, g.x + x, g.y + y), (Rgb{0, 0, 0})) << "frame at " << x << "," << y;
    const std::string colours = w.wine.Run("convert '" + shot + "' -crop 640x480+" + std::to_string(g.x + 1) + "+" +
                                           std::to_string(g.y + 1) + " +repage -format %k info:").output;
    EXPECT_GT(std::atoi(colours.c_str()), 50) << "no picture inside the frame";

    w.wine.Run("xdotool key a");
    EXPECT_TRUE(w.Viewable(*pic, false)) << "a key did not close the satellite window";
    w.ClickFace(66, 112);
    ASSERT_TRUE(w.Viewable(*pic, true)) << "the thumbnail works only once";
    EXPECT_EQ(w.wine.Geometry(*pic).x, g.x);
    w.Mouse(Widget::At(1100, 100) + "click 1");
    EXPECT_TRUE(w.Viewable(*pic, false)) << "a click elsewhere did not close the satellite window";
}

TEST(Interaction, KeysWithOtherShiftStatesDoNothingAndTheCloseButtonEndsTheProgram) {
    Widget w;
    ASSERT_FALSE(w.id.empty());
    // F5 last: once its refresh has asked for the place, the keys before it have been handled.
    EXPECT_TRUE(w.wine.Key(w.id, "shift+F1 ctrl+F5 shift+alt+F4 ctrl+alt+F4 F5"));
    EXPECT_TRUE(WaitUntil([&] { return w.Requests("GET /locations/v1/171001") == 2; }, 30s)) << "F5 did not refresh";
    EXPECT_TRUE(w.wine.Geometry(w.id).viewable) << "a key with another shift state closed the widget";
    EXPECT_EQ(w.wine.CountViewable(" Einstellungen ..."), 0u) << "Shift+F1 opened the settings dialog";
    EXPECT_TRUE(w.wine.Key(w.id, "F1"));
    EXPECT_TRUE(w.wine.WaitForWindow(" Einstellungen ...", 10s)) << "F1 did not open the settings dialog";
    // Held down, the close button says goodbye in the title; let go, the program ends.
    w.Mouse(Widget::At(w.Where().x + 378, w.Where().y + 8) + "mousedown 1");
    EXPECT_TRUE(WaitUntil([&] { return w.wine.Caption(w.id) == "Aufwiedersehen ..."; }, 10s)) << w.wine.Caption(w.id);
    w.Mouse("mouseup 1");
    EXPECT_TRUE(w.Viewable(w.id, false)) << "the close button did not end the program";
}

}  // namespace
