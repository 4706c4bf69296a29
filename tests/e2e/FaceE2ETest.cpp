// The widget's face as Wine draws it: the first start with background and title line in place,
// the title colour following the foreground, a refused second instance; the sample face;
// screenshots for the documentation.
#include <gtest/gtest.h>

#include "ScreenColours.h"
#include "WineSession.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kStartTimeout = 60s;
const std::string kRes = std::string(WG_SOURCE_DIR) + "/res";
using screen::Colours;
using screen::Count;
using screen::Histogram;

// The face is where the window is; the screenshot holds the whole virtual display.
struct Face {
    WindowGeometry window;
    std::string shot;
};

// Pixels of the background picture that nothing is drawn over in an empty face.
void ExpectBackgroundAt(const Face& face, std::initializer_list<std::pair<int, int>> points) {
    const std::string background = kRes + "/background.bmp";
    for (const auto& [x, y] : points)
        EXPECT_EQ(WineSession::Pixel(face.shot, face.window.x + x, face.window.y + y), WineSession::Pixel(background, x, y))
            << "face pixel " << x << "," << y;
}

// Title line at 5, 2 (357 x 14): its text in `colour` and the black shadow behind it.
Histogram TitleColours(const WineSession& wine, const Face& face) {
    return Colours(wine, face.shot, face.window.x + 5, face.window.y + 2, 358, 15);
}
void ExpectTitle(const WineSession& wine, const Face& face, const std::string& colour, const std::string& other) {
    const Histogram title = TitleColours(wine, face);
    EXPECT_GT(Count(title, colour), 30) << "title text in " << colour;
    EXPECT_EQ(Count(title, other), 0) << "title text in " << other;
    EXPECT_GT(Count(title, "#000000"), 30) << "title shadow";
}

// A screenshot once the title timer has given the title its `colour` (or the time is up).
Face Capture(const WineSession& wine, const std::string& windowId, const std::string& name, const std::string& colour,
             const std::string& other) {
    Face face{wine.Geometry(windowId), ""};
    WaitUntil([&] {
        face.shot = wine.Screenshot(name);
        const Histogram title = TitleColours(wine, face);
        return Count(title, colour) > 30 && Count(title, other) == 0;
    }, 10s);
    return face;
}

void Click(const WineSession& wine, int x, int y) {
    wine.Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

// With no place stored the settings dialog opens at start and takes the foreground; it is put
// away and the widget brought to the front by a click on its empty heading area.
void DismissSettings(const WineSession& wine, const std::string& widgetId) {
    if (const auto dialog = wine.WaitForWindow(" Einstellungen ...", 30s)) {
        wine.Key(*dialog, "alt+F4");
        EXPECT_TRUE(wine.WaitForWindowGone(" Einstellungen ...", 10s));
    }
    const WindowGeometry g = wine.Geometry(widgetId);
    Click(wine, g.x + 40, g.y + 30);
}

TEST(Face, FirstStartDrawsTheFaceTitleFollowsTheForegroundOneInstance) {
    WineSession wine;
    wine.InstallTahoma();
    wine.Start();
    const auto id = wine.WaitForWindow("Wolkenglas", kStartTimeout);
    ASSERT_TRUE(id) << "the widget window did not appear";
    DismissSettings(wine, *id);
    Face face = Capture(wine, *id, "face-started", "#80FF80", "#C0C0C0");
    EXPECT_EQ(face.window.x, 32);
    EXPECT_EQ(face.window.y, 32);
    ASSERT_EQ(face.window.width, 388);
    ASSERT_EQ(face.window.height, 213);
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Version"), "1.54");
    // Corners, the panels of the current conditions and of the last day, empty picture wells
    // and the title band beside the text.
    ExpectBackgroundAt(face, {{0, 0}, {387, 212}, {2, 100}, {20, 60}, {360, 100}, {380, 60}, {300, 9}, {60, 170}});
    ExpectTitle(wine, face, "#80FF80", "#C0C0C0");
    // The buttons are drawn, whatever font the system has for them.
    const Histogram buttons = Colours(wine, face.shot, face.window.x + 362, face.window.y + 1, 24, 16);
    EXPECT_GT(Count(buttons, "#E0E0E0"), 10) << "close button";
    EXPECT_GT(Count(buttons, "#B0B0B0"), 4) << "hide button";
    EXPECT_TRUE(wine.KeepScreenshot(face.shot, face.window, "screenshot-empty"));

    // The virtual desktop behind the widget takes the foreground: the title turns grey.
    Click(wine, face.window.x + 600, face.window.y + 500);
    face = Capture(wine, *id, "face-background", "#C0C0C0", "#80FF80");
    ExpectTitle(wine, face, "#C0C0C0", "#80FF80");
    // Back on the widget (its empty heading area does nothing on a click): green again.
    Click(wine, face.window.x + 40, face.window.y + 30);
    face = Capture(wine, *id, "face-foreground-again", "#80FF80", "#C0C0C0");
    ExpectTitle(wine, face, "#80FF80", "#C0C0C0");

    // A second instance is refused while the first runs.
    wine.Start();
    const auto box = wine.WaitForWindow(" Wolkenglas", 30s);
    ASSERT_TRUE(box) << "no refusal message from the second instance";
    wine.Screenshot("second-instance");
    wine.Key(*box, "Return");
    EXPECT_TRUE(wine.WaitForWindowGone(" Wolkenglas", 10s));
    // Wine may take a moment to map the widget again once the box has gone.
    EXPECT_TRUE(wine.WaitForWindow("Wolkenglas", 10s)) << "the first instance must keep running";
    EXPECT_EQ(wine.CountViewable("Wolkenglas"), 1u) << "the first instance must run alone";

}

TEST(Face, SampleFaceShowsValuesAndPictures) {
    WineSession wine;
    wine.InstallTahoma();
    // Wine's daemons that `wine reg` starts must not keep the harness's output pipe open.
    wine.Run(std::string("wine reg add '") + kSettingsKey + "' /v Demo.SampleFace /t REG_SZ /d 1 /f >/dev/null 2>&1 </dev/null");
    wine.Start();
    const auto id = wine.WaitForWindow("Wolkenglas:  K\xC3\xB6ln", kStartTimeout);
    ASSERT_TRUE(id) << "no widget with the sample place in its caption";
    DismissSettings(wine, *id);
    const Face face = Capture(wine, *id, "face-sample", "#80FF80", "#C0C0C0");
    ExpectTitle(wine, face, "#80FF80", "#C0C0C0");
    struct Value {
        int x, y, w, h;
        const char* colour;
        const char* what;
    };
    const Value values[] = {
        {8, 136, 78, 13, "#FFFF80", "temperature and humidity"},
        {92, 136, 290, 13, "#FF8080", "day maxima"},
        {92, 150, 290, 13, "#8080FF", "day minima"},
        {92, 166, 290, 13, "#FFC0FF", "day winds"},
        {6, 180, 80, 14, "#C0FFFF", "pressure and its trend"},
        {92, 21, 40, 29, "#E0E0E0", "first day heading"},
    };
    for (const Value& v : values) {
        const Histogram h = Colours(wine, face.shot, face.window.x + v.x, face.window.y + v.y, v.w, v.h);
        EXPECT_GT(Count(h, v.colour), 10) << v.what;
    }
    // Pictures in every day and night well: many colours where the empty well has one.
    for (int n = 0; n < 8; ++n) {
        const int x = n == 0 ? 5 : 91 + 42 * (n - 1);
        EXPECT_GT(Colours(wine, face.shot, face.window.x + x, face.window.y + 51, 40, 40).size(), 12u) << "day " << n;
        if (n > 0) {
            EXPECT_GT(Colours(wine, face.shot, face.window.x + x, face.window.y + 92, 40, 40).size(), 12u) << "night " << n;
        }
    }
    EXPECT_TRUE(wine.KeepScreenshot(face.shot, face.window, "screenshot-sample"));

    // Resting on the first day's maximum brings up its tooltip (white, below the pointer).
    const int px = face.window.x + 120, py = face.window.y + 141;
    auto white = [&](const std::string& shot) {
        return Count(Colours(wine, shot, face.window.x + 60, py + 8, 320, 60), "#FFFFFF");
    };
    wine.Run("xdotool mousemove --sync " + std::to_string(px - 4) + " " + std::to_string(py) + " mousemove --sync " +
             std::to_string(px) + " " + std::to_string(py));
    const int before = white(face.shot);
    EXPECT_TRUE(WaitUntil([&] { return white(wine.Screenshot("face-sample-tooltip")) - before > 500; }, 10s))
        << "no tooltip over lTemp(1)";
}

}  // namespace
