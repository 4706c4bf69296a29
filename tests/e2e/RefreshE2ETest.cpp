// The refresh in the real program under Wine against the local weather server: the green title
// with the place, the requests in their order, the tray icon, and a window that keeps answering
// while the server is slow. (The error lines and their colour: the unit tests' failure rows.)
#include <gtest/gtest.h>

#include <chrono>

#include "../doubles/WeatherServerProcess.h"
#include "ScreenColours.h"
#include "WineSession.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kStartTimeout = 90s;
const std::string kLoading = "Wolkenglas:  Lade Daten, bitte warten ...";

// A prefix whose widget has Berlin stored and takes its data from `server`, as the service's or
// as the keyless source's.
void PrepareWidget(WineSession& wine, const WeatherServerProcess& server, const std::string& source = "service") {
    wine.InstallTahoma();
    wine.RegAdd(kSettingsKey, "Server.Source", source);
    for (const char* host : {"Server.Geocoding", "Server.Forecast"}) wine.RegAdd(kSettingsKey, host, server.Base());
    wine.RegAdd(kSettingsKey, "Server.Api", server.Base());
    wine.RegAdd(kSettingsKey, "Server.Satellite", server.Base());
    wine.RegAdd(kSettingsKey, "Location.Selected", "Berlin, Berlin, DE");
    wine.RegAdd(kSettingsKey, "Location.Key", "171001");
}

// The request lines the server saw, without the query.
std::vector<std::string> RequestPaths(const WeatherServerProcess& server) {
    std::vector<std::string> paths;
    for (const auto& request : server.Requests()) {
        if (request.empty()) continue;
        const std::string& line = request[0];
        paths.push_back(line.substr(0, line.find_first_of("? ", 4)));
    }
    return paths;
}

// Whether the title line shows its text in `colour` (the title sits at 5, 2 in the window).
bool TitleIn(const WineSession& wine, const std::string& windowId, const std::string& colour) {
    return WaitUntil([&] {
        const WindowGeometry g = wine.Geometry(windowId);
        return screen::Count(screen::Colours(wine, wine.Screenshot("refresh-title"), g.x + 5, g.y + 2, 358, 15), colour) > 30;
    }, 20s);
}

TEST(RefreshE2E, StoredPlaceFillsTheWidgetTitleAndTray) {
    WeatherServerProcess server;
    WineSession wine;
    PrepareWidget(wine, server);
    wine.Start("", "shell");
    const auto id = wine.WaitForWindow("Wolkenglas:  Berlin", kStartTimeout);
    ASSERT_TRUE(id) << "no widget whose caption names the place";
    EXPECT_TRUE(TitleIn(wine, *id, "#80FF80"));
    const std::vector<std::string> expected = {"GET /locations/v1/171001.json", "GET /currentconditions/v1/171001",
                                               "GET /forecasts/v1/daily/10day/171001",
                                               "GET /sat_mosaic_640x480_public/IR/iseur3.jpg"};
    // The satellite picture follows the green title.
    EXPECT_TRUE(WaitUntil([&] { return RequestPaths(server).size() >= expected.size(); }, 30s));
    EXPECT_EQ(RequestPaths(server), expected);

    // The weather picture in the notification area, at the right end of the taskbar.
    EXPECT_TRUE(WaitUntil([&] { return screen::Colours(wine, wine.Screenshot("refresh-tray"), 1240, 780, 40, 20).size() > 12; }, 10s))
        << "no icon in the notification area";
}

TEST(RefreshE2E, KeylessSourceFillsTheWidgetGreen) {
    WeatherServerProcess server;
    WineSession wine;
    PrepareWidget(wine, server, "open-meteo");
    wine.Start();
    const auto id = wine.WaitForWindow("Wolkenglas:  Berlin", kStartTimeout);
    ASSERT_TRUE(id) << "no widget whose caption names the place";
    // The place's name is shown before the columns are filled; green comes at the end.
    EXPECT_TRUE(TitleIn(wine, *id, "#80FF80")) << "the title did not turn green";
    // The place, then one forecast for the current conditions and the days.
    const std::vector<std::string> paths = RequestPaths(server);
    ASSERT_GE(paths.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(paths.begin(), paths.begin() + 2),
              (std::vector<std::string>{"GET /v1/get", "GET /v1/forecast"}));
}

TEST(RefreshE2E, SlowServerLeavesTheWindowAnsweringAndAltF4EndsIt) {
    WeatherServerProcess server({"--delay-ms", "8000"});
    WineSession wine;
    PrepareWidget(wine, server);
    wine.Start();
    const auto id = wine.WaitForWindow(kLoading, kStartTimeout);
    ASSERT_TRUE(id) << "no loading text in the caption";
    ASSERT_TRUE(WaitUntil([&] { return RequestPaths(server).size() == 1; }, 10s)) << "the place request is not waiting";
    // Well before the server answers (8 s): the window thread does not wait for the worker.
    ASSERT_TRUE(wine.Key(*id, "alt+F4"));
    EXPECT_TRUE(wine.WaitForWindowGone(kLoading, 5s)) << "the widget did not end within 5 s";
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Window.Left"), "32") << "the position was not stored";
    EXPECT_EQ(wine.RegQuery(kSettingsKey, "Location.Key"), "171001");
}

}  // namespace
