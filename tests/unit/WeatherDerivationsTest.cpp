// The refresh's pure pieces: humidity, compass sectors, moon phases, time conversion, and the
// number and date formats with the user's separator and day names.
#include <gtest/gtest.h>

#include "doubles/FakeServices.h"
#include "system/OleDate.h"
#include "weather/DisplayFormat.h"
#include "weather/RunError.h"
#include "weather/TranslationDE.h"
#include "weather/mTaupunkt.h"
#include "weather/mUTCoffset.h"

namespace {

TEST(WeatherDerivations, MagnusHumidity) {
    // Expected values from the formula in single precision; T < 0 takes 7.6 and 240.7.
    const struct { float T, RH, svp, absolute; } rows[] = {
        {20.0f, 50.0f, 23.380936f, 8.641212f}, {0.0f, 100.0f, 6.1078f, 4.845251f},
        {-0.1f, 100.0f, 6.063537f, 4.811900f}, {-20.0f, 50.0f, 1.250740f, 0.535293f}, {30.0f, 0.0f, 42.426346f, 0.0f}};
    for (const auto& r : rows) {
        EXPECT_NEAR(SaturationVapourPressure(r.T), r.svp, 1e-5) << r.T;
        EXPECT_NEAR(AbsoluteHumidity(r.T, r.RH), r.absolute, 1e-5) << r.T;
    }
    EXPECT_FLOAT_EQ(KelvinTemperature(20.0f), 293.15f);
    try {
        AbsoluteHumidity(-240.7f, 50.0f);
        ADD_FAILURE() << "no error for a zero divisor";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number, 11);
    }
}

TEST(WeatherDerivations, WindSectorsAndMoonPhases) {
    // Clockwise from the south, as the sheet's tiles: all sixteen, any case, nothing else.
    const char* const clockwise[] = {"S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW",
                                     "n", "nne", "Ne", "ENE", "E", "ESE", "SE", "SSE"};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(WindSector(clockwise[i]), i + 1) << clockwise[i];
    for (const char* code : {"", "NNO", " N", "SO"}) EXPECT_EQ(WindSector(code), 0) << code;
    const std::pair<const char*, const char*> phases[] = {
        {"New", "1,Neumond"}, {"WaxingCrescent", "2,Zunehmender Halbmond"}, {"first", "3,Erstes Viertel"},
        {"FULL", "5,Vollmond"}, {"WaningCrescent", "8,Abnehmender Halbmond"}, {"Full Moon", ""}, {"", ""}};
    for (const auto& [phase, text] : phases) EXPECT_EQ(MoonPhaseDE(phase), text) << phase;
}

TEST(WeatherDerivations, EpochInLocalTimeWithAndWithoutDaylightSaving) {
    FakeClock clock;
    FakeLocale locale;
    const struct { TimeZoneState zone; std::int64_t epoch; const char* shown; } rows[] = {
        {{1, -60, 0, -60}, 0, "Donnerstag, 01.01.1970 01:00"},
        {{2, -60, 0, -60}, 0, "Donnerstag, 01.01.1970 02:00"},  // the offset follows today's state
        {{0, -60, 0, -60}, 1447075500, "Montag, 09.11.2015 14:25"},
        {{1, 300, 0, -60}, 1447075500, "Montag, 09.11.2015 08:25"},
        {{1, -60, 0, -60}, 4102444800, "Freitag, 01.01.2100 01:00"},  // after 2038
    };
    for (const auto& r : rows) {
        clock.zone = r.zone;
        EXPECT_EQ(FormatDate(EpochToDate(r.epoch, GetUTCOffset(clock)), "DDDD, DD.MM.YYYY HH:NN", locale), r.shown);
    }
}

TEST(WeatherDerivations, NumberFormats) {
    const struct { double v; const char* pattern; char sep; const char* shown; } formats[] = {
        {21.25, "#0.0", ',', "21,3"}, {0.15, "#0.0", ',', "0,2"}, {2.5, "#0", ',', "3"}, {-2.5, "#0", ',', "-3"},
        {-0.04, "#0.0", ',', "0,0"}, {0.5, "0.0", '.', "0.5"}, {1016.3, "#0", ',', "1016"}, {99.96, "#0.0", ',', "100,0"},
        {0.0, "#0", ',', "0"}, {-12.345, "0.0", ',', "-12,3"}, {1234567.0, "#0.0", ',', "1234567,0"},
        {0.7, "#0", ',', "1"}, {-0.6, "#0", ',', "-1"}, {0.4, "#0", ',', "0"}, {-0.4, "#0", ',', "0"}};
    for (const auto& f : formats) EXPECT_EQ(FormatNumber(f.v, f.pattern, f.sep), f.shown) << f.v << " " << f.pattern;
    const std::pair<double, const char*> plain[] = {{5.6, "5,6"}, {10.0, "10"}, {0.05, "0,05"}, {-3.0, "-3"},
                                                    {0.1 + 0.2, "0,3"}, {1e15, "1E+15"}, {0.0, "0"}};
    for (const auto& [v, shown] : plain) EXPECT_EQ(PlainNumber(v, ','), shown) << v;
    EXPECT_EQ(RoundHalfEven(72.5), 72.0);
    EXPECT_EQ(RoundHalfEven(73.5), 74.0);
}

TEST(WeatherDerivations, DateFormats) {
    FakeLocale locale;
    const double monday = OleDate(2015, 11, 9, 14 * 3600 + 35 * 60);
    const std::pair<const char*, const char*> rows[] = {{"DDD DD.MM.", "Mo 09.11."}, {"DDDD, DD.MM.YYYY", "Montag, 09.11.2015"},
                                                        {"DD.MM.  HH:NN", "09.11.  14:35"}, {"HH:NN", "14:35"}};
    for (const auto& [pattern, shown] : rows) EXPECT_EQ(FormatDate(monday, pattern, locale), shown) << pattern;
    EXPECT_EQ(FormatDate(0.0, "DDD DD.MM.YYYY HH:NN", locale), "Sa 30.12.1899 00:00");
    EXPECT_EQ(FormatDate(OleDate(2015, 11, 9, 86399.9), "DD.MM. HH:NN", locale), "10.11. 00:00");
}

}  // namespace
