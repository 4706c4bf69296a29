// The refresh over scripted replies: its failure rows, the recorded replies filling every
// control, the tooltip pieces, the forecast tooltips, the tray and the satellite picture.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "doubles/FakeServices.h"
#include "satellite/frmPic.h"
#include "settings/frmSet.h"
#include "weather/ForecastDay.h"
#include "widget/frmMain.h"

namespace {

std::string Fixture(const std::string& name) {
    std::ifstream in(std::filesystem::path(WG_FIXTURES_DIR) / "service" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr Colour kGreen = 0x80FF80, kBlue = 0xC0C0FF, kRed = 0xFFB0B0;
const char* const kJpeg = "\xFF\xD8\xFF\xE0 picture";

// A loaded widget and dialog with a chosen place, the sheets in their boxes, and the services.
struct Rig {
    FakePorts fake;
    FakeWindow mainWindow, setWindow, picWindow;
    frmMain main{fake.ports, mainWindow};
    frmSet set{fake.ports, setWindow, main};
    frmPic pic{picWindow, main};
    FakeServices services{fake.files};

    Rig() {
        main.Attach(set, pic);
        set.AttachServices(services.ports);
        set.MC = main.MC = "Wolkenglas";
        set.M2 = " tip ";
        set.coLocListIndex = 0;
        set.tCID = "268068";
        main.PicIcon.Image = std::make_shared<Bitmap>(410, 205, 0x203040);
        main.PicIconWind.Image = std::make_shared<Bitmap>(320, 80, 0x203040);
        main.PicIconMoon.Image = std::make_shared<Bitmap>(320, 40, 0x203040);
        fake.settings.Set("Server.Api", "http://api.test/");
        fake.settings.Set("Server.Satellite", "http://sat.test/");
    }
    // Replies for the three service requests and the satellite picture.
    void Serve(const std::string& location, const std::string& current, const std::string& forecast,
               const std::string& satellite = kJpeg) {
        services.transport.routes.clear();
        services.transport.Route("/locations/v1/", location);
        services.transport.Route("/currentconditions/v1/", current);
        services.transport.Route("/forecasts/v1/daily/10day/", forecast);
        services.transport.Route("iseur3.jpg", satellite);
    }
    void ServeRecorded(bool metric) {
        Serve(Fixture("location-piatek-pl.json"), Fixture("current-piatek-pl-details-2023-03.json"),
              Fixture(metric ? "forecast-5day-details-piatek-metric-2023-03.json" : "forecast-5day-details-piatek-imperial-2023-03.json"));
        set.oMetric[0] = metric;
        set.oMetric[1] = !metric;
    }
    const Label& Title() const { return main.lTitle[0]; }
    const FakeTray::Call& LastTray() const { return services.tray.calls.back(); }
};

TEST(Refresh, FailureRows) {
    const std::string location = Fixture("location-piatek-pl.json");
    const std::string current = Fixture("current-piatek-pl-details-2023-03.json");
    struct Row {
        const char* what;
        std::function<void(Rig&)> arrange;
        const char* title;
        std::size_t requests;
    };
    const Row rows[] = {
        {"time-out", [](Rig& r) { r.services.transport.routes.emplace_back("/locations/", HttpGetResult{HttpOutcome::TimedOut, 0, {}, {}}); },
         "FEHLER:  Verbindungs-Problem mit Server.", 1},
        {"HTTP error", [](Rig& r) { r.services.transport.Route("/locations/", "{}", 503, "Service Unavailable"); },
         "FEHLER:  503 - Service Unavailable", 1},
        {"short error", [](Rig& r) { r.services.transport.routes.emplace_back("/locations/", HttpGetResult{HttpOutcome::Failed, 0, {}, {}}); },
         "FEHLER:  ", 1},
        {"object instead of array", [&](Rig& r) { r.Serve(location, Fixture("current-piatek-pl-details-2023-05-object.json"), "{}"); },
         "FEHLER:  Server lieferte keine Wetter-Daten.", 2},
        {"short conditions object", [&](Rig& r) { r.Serve(location, "[{\"A\":1}]", "{}"); },
         "FEHLER:  Server lieferte keine Wetter-Vorhersage.", 3},
    };
    for (const Row& row : rows) {
        Rig r;
        row.arrange(r);
        r.set.cChk_Click();
        EXPECT_EQ(r.Title().Caption, row.title) << row.what;
        EXPECT_EQ(r.Title().ToolTipText, std::string(" ") + row.title + " ") << row.what;
        EXPECT_EQ(r.mainWindow.caption, row.title) << row.what;
        EXPECT_EQ(r.Title().ForeColor, kRed) << row.what;
        EXPECT_EQ(r.services.transport.urls.size(), row.requests) << row.what;
        EXPECT_EQ(r.fake.system.beeps, 1) << row.what;
        EXPECT_TRUE(r.set.DataLoaded && r.set.cChkEnabled && r.set.coLocEnabled) << row.what;
        EXPECT_FALSE(r.set.tSearchEnabled) << row.what;
        EXPECT_FALSE(r.set.Refreshing()) << row.what;
    }

    // A blank key: a beep and nothing else; the loading text stays.
    Rig blank;
    blank.set.tCID = "  ";
    blank.set.cChk_Click();
    EXPECT_EQ(blank.Title().Caption, "Wolkenglas:  Lade Daten, bitte warten ...");
    EXPECT_EQ(blank.Title().ForeColor, kBlue);
    EXPECT_TRUE(blank.services.transport.urls.empty());
    EXPECT_EQ(blank.fake.system.beeps, 1);
    EXPECT_TRUE(blank.set.cChkEnabled && blank.set.tSearchEnabled && !blank.set.DataLoaded);

    // An error while the columns are filled: the error path, without DataLoaded or a picture.
    Rig trap;
    std::string cold = current;
    cold.replace(cold.find("\"Value\": 0.5"), 12, "\"Value\": -240.7");
    trap.Serve(location, cold, Fixture("forecast-5day-details-piatek-metric-2023-03.json"));
    trap.set.cChk_Click();
    EXPECT_EQ(trap.Title().Caption, "FEHLER #11:  Division durch Null.");
    EXPECT_EQ(trap.services.transport.urls.size(), 3u);
    EXPECT_TRUE(trap.set.cChkEnabled && !trap.set.DataLoaded && !trap.set.Refreshing());
}

TEST(Refresh, RecordedRepliesFillEveryControl) {
    for (const bool metric : {true, false}) {
        Rig r;
        r.fake.files.files["C:\\Temp\\TMP0001.tmp"] = "";  // what the platform's temp-name call leaves
        r.ServeRecorded(metric);
        r.set.cChk_Click();
        const std::string unit = metric ? "Metric" : "Imperial";
        SCOPED_TRACE(unit);
        // Place in another country than the language's ("DE"): with the country.
        EXPECT_EQ(r.Title().Caption, "Wolkenglas:  Pi\xC4\x85tek, Poland");
        EXPECT_EQ(r.Title().ForeColor, kGreen);
        ASSERT_EQ(r.services.transport.urls.size(), 4u);
        EXPECT_EQ(r.services.transport.urls[0], "http://api.test/locations/v1/268068.json?Language=DE&Metric=True&ApiKey=k7Qm2XwPz9LcT4vR8nB3yH6dJ1sF5gAe");
        EXPECT_NE(r.services.transport.urls[1].find("currentconditions/v1/268068?Language=DE&Details=True&Metric=" + std::string(metric ? "True" : "False")), std::string::npos);
        EXPECT_NE(r.services.transport.urls[2].find("forecasts/v1/daily/10day/268068?"), std::string::npos);
        EXPECT_EQ(r.services.transport.urls[3], "http://sat.test/sat_mosaic_640x480_public/IR/iseur3.jpg");
        EXPECT_TRUE(r.set.DataLoaded && r.set.cChkEnabled && r.set.coLocEnabled && r.set.tSearchEnabled);

        const frmMain& f = r.main;
        for (const Label* l : {&f.lDay[0], &f.lTemp[0], &f.lTempG[0], &f.lTempGx[0], &f.lHumi[0], &f.lPres[0],
                               &f.lPresTrend[0], &f.lWindD[0], &f.lWindS[0], &f.lUV[0], &f.lUVx[0]})
            EXPECT_FALSE(l->Caption.empty() || l->ToolTipText.empty()) << l->Caption << "|" << l->ToolTipText;
        for (int i = 1; i <= 7; ++i) {
            for (const Label* l : {&f.lDay[i], &f.lTemp[i], &f.lTempL[i], &f.lWindS[i], &f.lWindNS[i], &f.lUVx[i]})
                EXPECT_EQ(l->Caption.empty(), i > 5) << "column " << i << ": " << l->Caption;
            EXPECT_EQ(f.PicDay[i].Tile == 0, i > 5) << i;
            EXPECT_EQ(f.PicNight[i].Tile == 0, i > 5) << i;
        }
        EXPECT_EQ(f.PicDay[0].Tile, 38);
        EXPECT_EQ(f.PicWind.Tile, 13);  // east
        EXPECT_EQ(f.PicMoon.Tile, 2);
        // The recorded imperial forecast is of a later day.
        EXPECT_EQ(f.lDay[1].Caption, metric ? "DO 23.03." : "SO 26.03.");
        EXPECT_EQ(f.lDay[1].ToolTipText, metric ? " [DoppelKlick]:  Detailierte Vorhersage für Donnerstag, 23.03.2023  »  Internet "
                                                : " [DoppelKlick]:  Detailierte Vorhersage für Sonntag, 26.03.2023  »  Internet ");
        EXPECT_EQ(f.lDay[0].Caption, "AKTUELL:\r\n09.03.  18:32");
        EXPECT_EQ(f.PicMoon.ToolTipText, metric ? " Mondphase: Zunehmender Halbmond (Tag 2) | Mond: 06:25 - 20:30 Uhr | Sonne: 05:39 - 18:00 Uhr "
                                                : " Mondphase: Zunehmender Halbmond (Tag 5) | Mond: 08:17 - 01:35 Uhr | Sonne: 06:32 - 19:05 Uhr ");
        EXPECT_EQ(f.lTemp[0].Caption, metric ? "0,5°C" : "33,0°F");
        EXPECT_EQ(f.lTemp[1].Caption, metric ? "16°C" : "51°F");
        EXPECT_EQ(f.lWindS[0].Caption, metric ? "11 km/h" : "7 mi/h");
        // The tray's tooltip names the reply's own unit.
        EXPECT_EQ(r.set.TrayTip, metric ? " Pi\xC4\x85tek, Poland: Mostly cloudy | 0,5°C (-2,1°C) | 85%rF | E 10,7km/h "
                                        : " Pi\xC4\x85tek, Poland: Mostly cloudy | 33,0°F (28,0°F) | 85%rF | E 6,6mi/h ");
        EXPECT_EQ(r.set.lLinkTag, f.lDay[0].Tag);

        // Icons: the weather picture, framed, with magenta transparent; the same for the window.
        EXPECT_EQ(r.LastTray().message, TrayMessage::Modify);
        EXPECT_EQ(r.LastTray().icon.width, 32);
        EXPECT_EQ(r.mainWindow.icon.colour, r.LastTray().icon.colour);
        // The satellite picture: decoded, thumbnailed, its files gone.
        EXPECT_EQ(r.pic.Pic.width, 640);
        ASSERT_TRUE(f.PicSat.Visible && f.PicSat.Image);
        EXPECT_EQ(f.PicSat.Image->at(16, 20), 0x808080u);
        EXPECT_EQ(r.services.pictures.loaded, std::vector<std::string>{"C:\\Temp\\TMP0001.jpg"});
        EXPECT_TRUE(r.fake.files.files.empty());
    }
}

TEST(Refresh, SatellitePictureMissingOrDamaged) {
    Rig empty;
    empty.ServeRecorded(true);
    empty.services.transport.routes.back().second.body = "";
    empty.set.cChk_Click();
    EXPECT_FALSE(empty.main.PicSat.Visible);
    EXPECT_EQ(empty.Title().ForeColor, kGreen);
    EXPECT_TRUE(empty.set.DataLoaded);

    Rig damaged;
    damaged.ServeRecorded(true);
    damaged.services.transport.routes.back().second.body = "<html>not a picture</html>";
    damaged.set.cChk_Click();
    EXPECT_EQ(damaged.Title().Caption, "FEHLER #481:  Ungültiges Bild.");
    EXPECT_TRUE(damaged.fake.files.files.empty());
    EXPECT_FALSE(damaged.set.DataLoaded);
}

TEST(Refresh, OneRefreshAtATimeAndNoneAfterUnload) {
    Rig r;
    r.ServeRecorded(true);
    r.services.tasks.hold = true;
    r.set.cChk_Click();
    EXPECT_TRUE(r.set.Refreshing());
    EXPECT_FALSE(r.set.cChkEnabled);
    r.set.mnuPopUp_Click(2);  // a second trigger while the first waits
    r.set.cChk_Click();
    EXPECT_EQ(r.services.tasks.held.size(), 1u);
    r.services.tasks.RunAll();
    EXPECT_EQ(r.services.transport.urls.size(), 4u);
    EXPECT_EQ(r.Title().ForeColor, kGreen);

    // The program ends while the replies are on their way: they change nothing.
    r.set.cChk_Click();
    r.set.Form_Unload();
    const std::size_t trayCalls = r.services.tray.calls.size();
    r.services.tasks.RunAll();
    EXPECT_EQ(r.Title().Caption, "Wolkenglas:  Lade Daten, bitte warten ...");
    EXPECT_EQ(r.services.tray.calls.size(), trayCalls);
    EXPECT_EQ(r.services.transport.urls.size(), 7u) << "no satellite request after the unload";
}

// Current conditions and today: a base object whose members a row overrides (the first member
// of a name wins).
const char* const kConditions =
    R"("WeatherIcon":7,"WeatherText":"Bewölkt","Link":"http://x/now","EpochTime":1447075500,"CloudCover":90,)"
    R"("Ceiling":{"Metric":{"Value":1200.0,"Unit":"m"}},"Visibility":{"Metric":{"Value":16.1,"Unit":"km"}},)"
    R"("PrecipitationSummary":{"Precipitation":{"Metric":{"Value":0.0,"Unit":"mm"}}},)"
    R"("Temperature":{"Metric":{"Value":7.4,"Unit":"C"}},"RealFeelTemperature":{"Metric":{"Value":4.9}},)"
    R"("RealFeelTemperatureShade":{"Metric":{"Value":5.6}},"DewPoint":{"Metric":{"Value":4.3}},"RelativeHumidity":81,)"
    R"("Pressure":{"Metric":{"Value":1016.3,"Unit":"mb"}},"PressureTendency":{"Code":"R"},)"
    R"("Wind":{"Speed":{"Metric":{"Value":14.8,"Unit":"km/h"}},"Direction":{"Degrees":248,"Localized":"WSW","English":"WSW"}},)"
    R"("WindGust":{"Speed":{"Metric":{"Value":29.6}}},"UVIndex":1,"UVIndexText":"Niedrig")";
const char* const kToday =
    R"("Date":"2015-11-09T07:00:00+01:00","HoursOfSun":3.2,"Link":"http://x/day",)"
    R"("Sun":{"Rise":"2015-11-09T07:21:00+01:00","Set":"2015-11-09T16:44:00+01:00"},)"
    R"("Moon":{"Rise":"2015-11-09T03:12:00+01:00","Set":"2015-11-09T15:41:00+01:00","Phase":"WaningCrescent","Age":27})";

TEST(Refresh, CurrentConditionsPieces) {
    struct Row {
        const char* conditions;  // members put before the base ones
        const char* today;
        std::function<std::string(const frmMain&)> read;
        std::string expected;
    };
    const auto tip = [](auto member) { return [member](const frmMain& f) { return (f.*member)[0].ToolTipText; }; };
    const auto caption = [](auto member) { return [member](const frmMain& f) { return (f.*member)[0].Caption; }; };
    const std::string weather = " Wetterlage: Bewölkt | Sonne: 3,2 h | Wolkendecke: 90% (1200m) | Sicht: 16,1 km ";
    const Row rows[] = {
        {"", "", [](const frmMain& f) { return f.PicDay[0].ToolTipText; }, weather},
        {R"("PrecipitationSummary":{"Precipitation":{"Metric":{"Value":0.4}}},)", "", [](const frmMain& f) { return f.PicDay[0].ToolTipText; }, weather},
        {R"("PrecipitationSummary":{"Precipitation":{"Metric":{"Value":2.5,"Unit":"mm"}}},)", "",
         [](const frmMain& f) { return f.PicDay[0].ToolTipText; }, weather + "| Niederschlag: 2,5 mm "},
        {"", "", tip(&frmMain::lTemp), " Temperatur: 7,4°C | Gefühlt: 4,9°C und 5,6°C im Schatten | Taupunkt: 4,3°C "},
        {R"("RealFeelTemperatureShade":{"Metric":{"Value":4.94}},)", "", tip(&frmMain::lTempGx), " Temperatur: 7,4°C | Gefühlt: 4,9°C | Taupunkt: 4,3°C "},
        {"", "", tip(&frmMain::lHumi), " Luftfeuchtigkeit: 81 %rF | Absolute Feuchte: 6,4 g/m³ "},
        {R"("RelativeHumidity":72.5,)", "", caption(&frmMain::lHumi), "73%"},
        {R"("Pressure":{"Metric":{"Value":0}},)", "", tip(&frmMain::lPres), " Luftdruck: nicht verfügbar! "},
        {"", "", tip(&frmMain::lPres), " Luftdruck: 1016,3 mb "},
        {"", "", caption(&frmMain::lPresTrend), "\xF1"},
        {R"("PressureTendency":{"Code":" s "},)", "", caption(&frmMain::lPresTrend), "\xF0"},
        {R"("PressureTendency":{"Code":"F"},)", "", tip(&frmMain::lPresTrend), " Trend: fallend "},
        {R"("PressureTendency":{"Code":"X"},)", "", caption(&frmMain::lPresTrend), ""},
        {R"("PressureTendency":{"Code":"X"},)", "", tip(&frmMain::lPresTrend), " Trend:  "},
        {R"("PressureTendency":{"Code":""},)", "", tip(&frmMain::lPresTrend), " Trend: nicht verfügbar! "},
        {"", "", tip(&frmMain::lWindD),
         " Wind aus Richtung: WSW (248°) | Geschwindigkeit: 14,8 km/h | Windböen bis 29,6 km/h möglich "},
        {"", "", tip(&frmMain::lUVx), " UV-Index: 1 (Niedrig) "},
        {R"("WeatherIcon":0,"Wind":{"Direction":{"English":"XYZ"}},)", "",
         [](const frmMain& f) { return std::to_string(f.PicDay[0].Tile) + " " + std::to_string(f.PicWind.Tile); }, "0 0"},
        {"", R"("Moon":{"Rise":null,"Set":"2015-11-09T15:41:00+01:00","Phase":"Blue"},)", [](const frmMain& f) { return f.PicMoon.ToolTipText; },
         " Mondphase nicht verfügbar | Mond: xx:xx - 15:41 Uhr | Sonne: 07:21 - 16:44 Uhr "},
        {"", R"("Moon":{"Phase":"Blue"},)", [](const frmMain& f) { return std::to_string(f.PicMoon.Tile); }, "0"},
    };
    for (const Row& row : rows) {
        Rig r;
        r.Serve("{\"LocalizedName\":\"Köln\",\"Country\":{\"ID\":\"DE\"}}", "[{\"WeatherIcon\":3,\"Wind\":{\"Direction\":{\"English\":\"N\"}}}]", "{}");
        r.set.cChk_Click();  // an earlier run leaves pictures that an unknown value must clear
        r.Serve("{\"LocalizedName\":\"Köln\",\"Country\":{\"ID\":\"DE\"}}", std::string("[{") + row.conditions + kConditions + "}]",
                std::string(R"({"DailyForecasts":[{)") + row.today + kToday + "}]}");
        r.set.cChk_Click();
        EXPECT_EQ(row.read(r.main), row.expected) << row.conditions << row.today;
    }
}

TEST(Refresh, BalloonOnlyForANewWeatherPicture) {
    Rig r;
    const std::string place = "{\"LocalizedName\":\"Köln\",\"Country\":{\"ID\":\"DE\"}}";
    r.set.ckBalloon.Value = 1;
    for (const char* icon : {"7", "7", "8"}) {
        r.Serve(place, std::string("[{\"WeatherIcon\":") + icon + "," + kConditions + "}]", "{}");
        r.set.cChk_Click();
    }
    const auto& calls = r.services.tray.calls;
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].title, "Köln");
    EXPECT_EQ(calls[0].text, "Aktuelle Wetterlage:     Bewölkt\r\nTemperatur:                  7,4°C\r\n"
                             "Gefühlt:                         4,9°C\r\nLuftfeuchte:                  81 %rF\r\n"
                             "Wind aus Richtung:       WSW\r\nWindgeschwindigkeit:   14,8km/h\r\nWindböen bis:               29,6km/h");
    EXPECT_EQ(calls[0].flags, 1u);
    EXPECT_EQ(calls[0].timeout, 10000u);
    EXPECT_EQ(calls[1].text, "") << "same picture as before";
    EXPECT_EQ(calls[2].text, r.set.BalloonText);
    EXPECT_EQ(r.set.LastIcon, 8);
    EXPECT_TRUE(r.set.BalloonPending);
    EXPECT_EQ(r.set.BalloonTime, r.services.clock.seconds);
}

TEST(Refresh, ForecastTooltips) {
    FakeLocale locale;
    const UnitTexts units{"C", "km", "km/h", "mb", "mm"};
    const std::string plain = R"("IconPhrase":"Sonnig","ShortPhrase":"Sonnig","CloudCover":5)";
    const std::pair<std::string, std::string> rows[] = {
        {plain, " Sonnig | Wolkendecke: 5% "},
        {R"("IconPhrase":"Schauer","ShortPhrase":"Ein paar Schauer","CloudCover":80,"RainProbability":30,"Rain":{"Value":1.0,"Unit":"mm"})",
         " Schauer; Ein paar Schauer | Wolkendecke: 80% | Wahrscheinlichkeit für ...  Regen: 30% (1 mm) "},
        {R"("IconPhrase":"Regen","ShortPhrase":"Regen","CloudCover":90,"RainProbability":40,"Rain":{"Value":0.5,"Unit":"mm"})",
         " Regen | Wolkendecke: 90% | Wahrscheinlichkeit für ...  Regen: 40% "},
        {R"("IconPhrase":"Gewitter","ShortPhrase":"Gewitter","CloudCover":70,"ThunderstormProbability":20)",
         " Gewitter | Wolkendecke: 70% | Wahrscheinlichkeit für ...  Gewitter: 20% "},
        {R"("IconPhrase":"Schnee","ShortPhrase":"Schnee","CloudCover":100,"SnowProbability":50,"Snow":{"Value":2.5,"Unit":"cm"},"IceProbability":10)",
         " Schnee | Wolkendecke: 100% | Wahrscheinlichkeit für ...  Schnee: 50% (2.5 cm), Eisglätte: 10% "},
    };
    for (const auto& [half, tip] : rows) {
        const std::string day = R"({"Date":"2015-11-10T07:00:00+01:00","Day":{)" + half + R"(},"Night":{)" + plain +
                                R"(,"Wind":{"Speed":{"Value":9.3},"Direction":{"Degrees":225,"Localized":"SW"}},"WindGust":{"Speed":{"Value":24.1}}},)"
                                R"("Temperature":{"Maximum":{"Value":8.5},"Minimum":{"Value":-0.4}},"RealFeelTemperature":{"Maximum":{"Value":6.0},"Minimum":{"Value":-3.0}},)"
                                R"("AirAndPollen":[{"Name":"Grass","Value":0,"Category":"Low"}]})";
        const ForecastDay d = ReadForecastDay(day, units, locale);
        EXPECT_EQ(d.dayIconTip, tip);
        EXPECT_EQ(d.heading, "DI 10.11.");
        EXPECT_EQ(d.maximumTip, " Höchsttemperatur: 9°C | Gefühlt: 6°C ");
        EXPECT_EQ(d.minimum, "0°C");
        EXPECT_EQ(d.nightWind, "SW");
        EXPECT_EQ(d.nightWindTip, " Wind aus Richtung: SW (225°) | Geschwindigkeit: 9,3 km/h | Windböen bis 24,1 km/h möglich ");
        EXPECT_EQ(d.uv + d.uvTip, "? UV-Index: Unbekannt ");
    }
}

}  // namespace
