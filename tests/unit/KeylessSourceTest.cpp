// The keyless source behind the HTTP port: recorded source replies through the refresh's own
// readers, the WMO table, the source choice and the failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "doubles/FakeServices.h"
#include "service/KeylessSource.h"
#include "service/OpenMeteoReplies.h"
#include "service/ServiceHosts.h"
#include "service/mJSON.h"
#include "service/mUTF8toWIN.h"
#include "settings/PlaceSearch.h"
#include "weather/CurrentConditions.h"
#include "weather/ForecastDay.h"
#include "weather/RefreshRequests.h"
#include "unit/reference/ReplyCorpus.h"

namespace {

std::string Recorded(const std::string& name) {
    return corpus::ReadFile(std::filesystem::path(WG_FIXTURES_DIR) / "open-meteo" / name);
}

struct Source {
    FakeTransport http;
    FakeEnvironment environment;
    FakeSettingsStore settings;
    KeylessSource source{http, settings};
    WeatherService service{{source, environment}, settings};
    Source() {
        settings.Set("Server.Geocoding", "http://geo.test/");
        settings.Set("Server.Forecast", "http://forecast.test/");
    }
};

HttpGetResult Outcome(HttpOutcome outcome) {
    HttpGetResult r;
    r.outcome = outcome;
    return r;
}

}  // namespace

TEST(KeylessSource, RecordedRepliesReadAsTheRefreshReadsThem) {
    const struct {
        const char *place, *forecast, *key, *language;
        bool metric;
        std::vector<std::string> current;  // weather tip, temperature, felt, humidity, pressure, trend, wind, wind tip, UV tip, tray
        int icon;
        std::vector<std::string> today;    // heading, maximum, minimum, UV, sun and moon tip's sun part
        std::vector<std::string> tomorrow; // day and night icon tips
        int dayIcon, nightIcon;
    } rows[] = {
        {"get-berlin-de.json", "forecast-berlin-metric.json", "2950159", "de-DE", true,
         {" Wetterlage: Schneegest\xF6" "ber | Sonne: 1,5 h | Wolkendecke: 100% (290m) | Sicht: 8,5 km | Niederschlag: 0,3 mm ",
          "2,5\xB0" "C", "-1,2\xB0" "C", "85%", "1007 mb", " Trend: fallend ", "12 km/h",
          " Wind aus Richtung: S (190\xB0) | Geschwindigkeit: 12 km/h | Windb\xF6" "en bis 31,7 km/h m\xF6glich ",
          " UV-Index: 0 (Niedrig) ", " Berlin: Schneegest\xF6" "ber | 2,5\xB0" "C (-1,2\xB0" "C) | 85%rF | S 12km/h "},
         19,
         {"SO 06.12.", "3\xB0" "C", "-2\xB0" "C", "1", "| Sonne: 08:04 - 15:54 Uhr "},
         {" Regen | Wolkendecke: 50% | Wahrscheinlichkeit f\xFCr ...  Regen: 70% (3,6 mm), Gewitter: 70% ",
          " Schnee | Wolkendecke: 82% | Wahrscheinlichkeit f\xFCr ...  Schnee: 55% (1.4 cm) "},
         18, 22},
        {"get-denver-en.json", "forecast-denver-imperial.json", "5419384", "en-US", false,
         {" Wetterlage: Mostly sunny | Sonne: 8,8 h | Wolkendecke: 20% (0) | Sicht: 10,0 mi ",
          "41,2\xB0" "F", "37,0\xB0" "F", "43%", "30 inHg", " Trend: steigend ", "10 mi/h",
          " Wind aus Richtung: NW (315\xB0) | Geschwindigkeit: 9,8 mi/h | Windb\xF6" "en bis 18,3 mi/h m\xF6glich ",
          " UV-Index: 2 (Low) ", " Denver: Mostly sunny | 41,2\xB0" "F (37,0\xB0" "F) | 43%rF | NW 9,8mi/h "},
         2,
         {"SO 06.12.", "47\xB0" "F", "23\xB0" "F", "3", "| Sonne: 07:08 - 16:36 Uhr "},
         {}, 7, 38},
        {"get-sydney-en.json", "forecast-sydney-metric.json", "2147714", "en-AU", true,
         {" Wetterlage: Partly sunny w/ showers | Sonne: 6,3 h | Wolkendecke: 75% (920m) | Sicht: 24,1 km | Niederschlag: 1,4 mm ",
          "26,4\xB0" "C", "28,9\xB0" "C", "64%", "1012 mb", " Trend: gleich ", "19 km/h",
          " Wind aus Richtung: E (100\xB0) | Geschwindigkeit: 19,4 km/h | Windb\xF6" "en bis 38,9 km/h m\xF6glich ",
          " UV-Index: 6 (High) ", " Sydney: Partly sunny w/ showers | 26,4\xB0" "C (28,9\xB0" "C) | 64%rF | E 19,4km/h "},
         14,
         {"SO 06.12.", "27\xB0" "C", "19\xB0" "C", "11", "| Sonne: 05:38 - 19:55 Uhr "},
         {}, 13, 38},
        // The midnight sun: no rise and no set, as the service writes a moon that does not rise.
        {"get-tromso-de.json", "forecast-tromso-metric.json", "3133880", "de-DE", true,
         {" Wetterlage: Teilweise sonnig | Sonne: 17,0 h | Wolkendecke: 40% (0) | Sicht: 50,0 km ",
          "9,8\xB0" "C", "7,5\xB0" "C", "77%", "1016 mb", " Trend: gleich ", "9 km/h",
          " Wind aus Richtung: NNO (20\xB0) | Geschwindigkeit: 8,6 km/h | Windb\xF6" "en bis 17,3 km/h m\xF6glich ",
          " UV-Index: 0 (Niedrig) ", " Troms\xF8: Teilweise sonnig | 9,8\xB0" "C (7,5\xB0" "C) | 77%rF | NNE 8,6km/h "},
         3,
         {"SO 21.06.", "12\xB0" "C", "8\xB0" "C", "4", "| Sonne: 00:00 - 00:00 Uhr "},
         {}, 7, 38},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.place);
        Source s;
        s.http.Route("geo.test/v1/get?id=", Recorded(row.place));
        s.http.Route("forecast.test/v1/forecast?", Recorded(row.forecast));
        const ServiceReplies r = FetchServiceReplies(s.service, row.key, row.language, row.metric);
        // The place, then one forecast for the current conditions and the days.
        ASSERT_EQ(s.http.requests.size(), 2u);
        EXPECT_EQ(s.http.requests[0].url, std::string("http://geo.test/v1/get?id=") + row.key + "&language=" +
                                              std::string(row.language).substr(0, 2) + "&format=json");
        const std::string& forecastUrl = s.http.requests[1].url;
        EXPECT_EQ(forecastUrl.find("temperature_unit=fahrenheit&wind_speed_unit=mph&precipitation_unit=inch") !=
                      std::string::npos, !row.metric);
        EXPECT_EQ(s.http.requests[1].timeoutMs, 10000);
        const std::string place = GetJSONValue(Recorded(row.place), "name");
        EXPECT_EQ(UTF8toWIN(place), GetJSONValue(r.location, "LocalizedName"));
        EXPECT_EQ(GetJSONValue(Recorded(row.place), "country_code"), GetJSONValue(r.location, "Country/ID"));

        FakeLocale locale;
        FakeClock clock;
        const std::string conditions = SplitJSONArray(r.current)[1];
        const std::vector<std::string> days = SplitJSONArray(GetJSONValue(r.forecast, "DailyForecasts"));
        ASSERT_EQ(days.size(), 4u);  // today and two more: the recorded reply's days from today on
        const CurrentConditions c = ReadCurrentConditions(conditions, days[1], row.metric, UTF8toWIN(place), locale);
        const std::vector<std::string> current = {c.weatherTip, c.temperature, c.felt, c.humidity, c.pressure, c.trendTip,
                                                  c.windSpeed, c.windTip, c.uvTip, c.trayTip};
        EXPECT_EQ(current, row.current);
        EXPECT_EQ(c.icon, row.icon);
        EXPECT_EQ(c.link, kOpenMeteoLink);
        const ForecastDay today = ReadForecastDay(days[1], ReadUnits(conditions, row.metric), locale);
        const std::string sun = ReadSunAndMoon(days[1], locale).moonTip;
        EXPECT_EQ((std::vector<std::string>{today.heading, today.maximum, today.minimum, today.uv,
                                            sun.substr(sun.find("| Sonne"))}), row.today);
        const ForecastDay tomorrow = ReadForecastDay(days[2], ReadUnits(conditions, row.metric), locale);
        if (!row.tomorrow.empty()) {
            EXPECT_EQ((std::vector<std::string>{tomorrow.dayIconTip, tomorrow.nightIconTip}), row.tomorrow);
        }
        EXPECT_EQ(tomorrow.dayIcon, row.dayIcon);
        EXPECT_EQ(tomorrow.nightIcon, row.nightIcon);
    }
}

TEST(KeylessSource, WmoCodesOntoDayAndNightIcons) {
    const struct { int code, day, night; } rows[] = {
        {0, 1, 33}, {1, 2, 34}, {2, 3, 35}, {3, 7, 38}, {45, 11, 11}, {48, 11, 11}, {51, 12, 12}, {55, 12, 12},
        {56, 26, 26}, {61, 18, 18}, {65, 18, 18}, {67, 26, 26}, {71, 19, 19}, {75, 22, 22}, {77, 19, 19},
        {80, 14, 39}, {81, 13, 40}, {82, 12, 12}, {85, 21, 43}, {86, 23, 44}, {95, 15, 15}, {99, 15, 15},
        {4, 0, 0}, {-1, 0, 0}, {100, 0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ServiceIcon(row.code, true), row.day) << row.code;
        EXPECT_EQ(ServiceIcon(row.code, false), row.night) << row.code;
    }
}

TEST(KeylessSource, ChoiceRuleAndWhatPassesThrough) {
    const struct { const char *source, *apiKey; bool keyless; } rows[] = {
        {nullptr, nullptr, true},       // a fresh install: real weather without an account
        {nullptr, "MYKEY", false},      // an existing setup with a key changes nothing
        {nullptr, "  ", true},          {"open-meteo", "MYKEY", true}, {" Open-Meteo ", nullptr, true},
        {"service", nullptr, false},    {"other", nullptr, true},      {"other", "MYKEY", false},
    };
    for (const auto& row : rows) {
        Source s;
        if (row.source) s.settings.Set("Server.Source", row.source);
        if (row.apiKey) s.settings.Set("Server.ApiKey", row.apiKey);
        EXPECT_EQ(ChosenSource(s.settings) == WeatherSource::Keyless, row.keyless) << row.source << row.apiKey;
        s.http.Respond(200, "OK", "[]");
        GetCity(s.service, "171001", "de-DE");
        ASSERT_EQ(s.http.requests.size(), 1u);
        EXPECT_EQ(s.http.requests[0].url.rfind(row.keyless ? "http://geo.test/v1/get?id=171001" : "https://dataservice", 0), 0u)
            << s.http.requests[0].url;
    }
    // The satellite picture and the updates pass on unchanged, also from the service's own host
    // (one local server answers them all).
    Source s;
    for (const std::string url : {"http://sirocco.accuweather.com/sat_mosaic_640x480_public/IR/iseur3.jpg",
                                  "https://dataservice.accuweather.com/updates/updates.php?send=Wolkenglas.exe,.inf"}) {
        HttpGetRequest picture;
        picture.url = url;
        s.source.Get(picture);
        ASSERT_FALSE(s.http.requests.empty());
        EXPECT_EQ(s.http.requests.back().url, url);
    }
}

TEST(KeylessSource, FailuresComeBackAsTheServiceClientReportsThem) {
    const std::string berlin = Recorded("get-berlin-de.json");
    std::string noDaily = Recorded("forecast-berlin-metric.json");
    noDaily.replace(noDaily.find("\"daily\":"), 8, "\"later\":");
    const struct {
        const char* name;
        HttpGetResult place, forecast;
        std::string location, current;
    } rows[] = {
        {"time-out", Outcome(HttpOutcome::TimedOut), {}, "", ""},
        {"HTTP error", {HttpOutcome::Completed, 503, "Service Unavailable", "{}"}, {}, "Http-Error 503: Service Unavailable", ""},
        {"no connection", Outcome(HttpOutcome::Failed), {}, "Error!", ""},
        {"no such place", {HttpOutcome::Completed, 200, "OK", "{\"generationtime_ms\":0.2}"}, {}, "Http-Error 400: Bad Request", ""},
        {"forecast time-out", {HttpOutcome::Completed, 200, "OK", berlin}, Outcome(HttpOutcome::TimedOut), "", ""},
        // The current conditions, but no days: "Server lieferte keine Wetter-Vorhersage." as for the service.
        {"forecast without days", {HttpOutcome::Completed, 200, "OK", berlin}, {HttpOutcome::Completed, 200, "OK", noDaily}, "", "[{"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Source s;
        s.http.routes = {{"v1/get?", row.place}, {"v1/forecast?", row.forecast}};
        const ServiceReplies r = FetchServiceReplies(s.service, "2950159", "de-DE", true);
        if (row.location.empty() && row.place.status == 200) {
            EXPECT_NE(r.location.find("\"Key\":\"2950159\""), std::string::npos);
            EXPECT_EQ(r.current.substr(0, row.current.size()), row.current);
            if (!row.current.empty()) {
                EXPECT_EQ(r.forecast, "Error!");
            }
            EXPECT_EQ(s.http.requests.size(), 2u);  // the days come from the same reply, even a broken one
        } else {
            EXPECT_EQ(r.location, row.location);
        }
    }
    // A search that finds nothing gives the service's empty list, asked once more without a language.
    Source s;
    s.http.Route("v1/search?", Recorded("search-empty.json"));
    EXPECT_EQ(FindPlaces(s.service, "Xyzzy", "de-DE"), "[]");
    ASSERT_EQ(s.http.requests.size(), 2u);
    EXPECT_EQ(s.http.requests[0].url, "http://geo.test/v1/search?name=Xyzzy&count=10&language=de&format=json");
    EXPECT_EQ(s.http.requests[1].url, "http://geo.test/v1/search?name=Xyzzy&count=10&format=json");
    // A search lists the places as the dialog shows them, with the source's ids as keys.
    s.http.routes = {{"v1/search?", {HttpOutcome::Completed, 200, "OK", Recorded("search-berlin-de.json")}}};
    const PlaceList places = ListPlaces(FindPlaces(s.service, "Berlin", "de-DE"));
    EXPECT_EQ(places.entries, (std::vector<std::string>{"DE: 10967 Berlin, Deutschland",
                                                        "US: 03570 Berlin, New Hampshire, Vereinigte Staaten"}));
    EXPECT_EQ(places.keys, (std::vector<std::string>{"2950159", "5083330"}));
}
