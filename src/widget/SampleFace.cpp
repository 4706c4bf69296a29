#include "widget/SampleFace.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/SettingsStore.h"
#include "satellite/PicScale.h"
#include "system/Numbers.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"

namespace {

struct SampleDay {
    const char* heading;  // "DDD DD.MM." upper-cased
    const char* date;     // "DDDD, DD.MM.YYYY"
    int dayIcon, nightIcon;
    const char* dayPhrase;
    const char* nightPhrase;
    int high, low, feltHigh, feltLow;
    const char* dayWind;
    const char* nightWind;
    int dayDegrees, nightDegrees, daySpeed, nightSpeed;
    const char* uv;
    const char* uvCategory;
};

const SampleDay kDays[] = {
    {"MO 09.11.", "Montag, 09.11.2026", 3, 35, "Teilweise sonnig", "Teilweise bewölkt", 9, 3, 7, 0, "WSW", "SW",
     248, 225, 15, 9, "1", "niedrig"},
    {"DI 10.11.", "Dienstag, 10.11.2026", 12, 40, "Schauer", "Stark bewölkt mit Schauern", 8, 4, 5, 1, "W", "WSW",
     270, 248, 24, 17, "1", "niedrig"},
    {"MI 11.11.", "Mittwoch, 11.11.2026", 6, 38, "Überwiegend bewölkt", "Überwiegend bewölkt", 7, 2, 4, -1, "NW",
     "NNW", 315, 338, 19, 11, "0", "niedrig"},
    {"DO 12.11.", "Donnerstag, 12.11.2026", 2, 33, "Überwiegend sonnig", "Klar", 6, -2, 4, -5, "N", "NO", 0, 45,
     11, 7, "1", "niedrig"},
    {"FR 13.11.", "Freitag, 13.11.2026", 1, 34, "Sonnig", "Überwiegend klar", 7, -1, 6, -4, "O", "SO", 90, 135, 9,
     6, "1", "niedrig"},
    {"SA 14.11.", "Samstag, 14.11.2026", 18, 12, "Regen", "Schauer", 10, 6, 6, 3, "SSW", "S", 203, 180, 28, 22, "0",
     "niedrig"},
    {"SO 15.11.", "Sonntag, 15.11.2026", 4, 36, "Zeitweise bewölkt", "Zeitweise bewölkt", 11, 5, 9, 2, "SW", "WSW",
     225, 248, 17, 12, "1", "niedrig"},
};

// Appends the pieces one by one: GCC 12 warns falsely about literal + string at -O3.
std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const std::string_view p : parts) out.append(p);
    return out;
}

std::string Degrees(int value) { return Cat({std::to_string(value), "°C"}); }

std::string WindTip(const char* direction, int degrees, int speed) {
    return Cat({" Wind aus Richtung: ", direction, " (", std::to_string(degrees), "°) |", " Geschwindigkeit: ",
                std::to_string(speed), " km/h |", " Windböen bis ", std::to_string(speed * 2), " km/h möglich "});
}

void Tile(const PictureBox& sheet, PictureBox& target, int cols, int rows, int tile) {
    PicCls(target);
    PicMap(sheet, target, 0, 0, cols, rows, tile, 1, 1.0f);
}

// A small made-up infrared satellite view in greys: dark sea, lighter land and bright bands of
// cloud; (u, v) run from 0 to 1 across and down the picture.
std::uint32_t SatelliteGrey(double u, double v) {
    const bool land = v > 0.45 + 0.2 * std::sin(u * 6.0 + 1.0) - 0.25 * u;
    // Fronts as broad bright bands, brighter where they cross.
    const double cloud =
        (std::sin(u * 4.0 + v * 7.0) + std::sin(v * 5.0 - u * 3.0 + 2.0) + 0.6 * std::sin(u * 11.0 + v * 2.0)) / 2.6;
    std::uint32_t grey = land ? 0x58 : 0x30;
    if (cloud > 0.15) grey = static_cast<std::uint32_t>(std::min(240.0, 130.0 + 260.0 * (cloud - 0.15)));
    return grey << 16 | grey << 8 | grey;
}

// The thumbnail made from the full picture the way the refresh makes it (full width, centred).
void SampleSatellite(PictureBox& box) {
    Bitmap thumbnail(box.Width, box.Height, kPictureKeyColour);
    PicAspectCopy(*SampleSatellitePicture(), thumbnail, 1.0f);
    PicSetImage(box, thumbnail.width, thumbnail.height, std::move(thumbnail.pixels));
}

}  // namespace

bool SampleFaceRequested(SettingsStore& store, std::string_view app, std::string_view section) {
    return Trim(store.Read(app, section, kSampleFaceKey, "0")) == "1";
}

void FillSampleFace(frmMain& f) {
    f.SetTitle(Cat({f.MC, ":  Köln"}));
    f.lTitle[0].ForeColor = 0x80FF80;
    const SheetsLoaded sheets(f.View());

    // Current conditions.
    Tile(f.PicIcon, f.PicDay[0], 10, 5, 3);
    f.PicDay[0].ToolTipText =
        " Wetterlage: Teilweise sonnig | Sonne: 3,2 h | Wolkendecke: 45% (9144m) | Sicht: 16,1 km ";
    f.lDay[0].Tag = "http://www.accuweather.com/de/de/cologne/50667/current-weather/178738";
    f.lDay[0].ToolTipText = " [DoppelKlick]:  Aktuelle Wetterlage im Detail  »  Internet ";
    f.lTemp[0].Caption = "7,4°C";
    f.lTemp[0].ToolTipText = " Temperatur: 7,4°C | Gefühlt: 4,9°C und 5,6°C im Schatten | Taupunkt: 4,3°C ";
    f.lTempG[0].Caption = "Gefühlt:";
    f.lTempGx[0].Caption = "4,9°C";
    f.lTempG[0].ToolTipText = f.lTempGx[0].ToolTipText = f.lTemp[0].ToolTipText;
    f.lHumi[0].Caption = "81%";
    f.lHumi[0].ToolTipText = " Luftfeuchtigkeit: 81 %rF | Absolute Feuchte: 6,6 g/m³ ";
    f.lPres[0].Caption = "1016 hPa";
    f.lPres[0].ToolTipText = " Luftdruck: 1016,3 hPa ";
    f.lPresTrend[0].Caption = "ñ";
    f.lPresTrend[0].ToolTipText = " Trend: steigend ";
    Tile(f.PicIconWind, f.PicWind, 8, 2, 4);
    f.lWindD[0].Caption = "WSW";
    f.lWindS[0].Caption = "15 km/h";
    f.lWindS[0].ToolTipText = f.lWindD[0].ToolTipText = f.PicWind.ToolTipText = WindTip("WSW", 248, 15);
    f.lUV[0].Caption = "UV-Index:";
    f.lUVx[0].Caption = "1";
    f.lUVx[0].ToolTipText = " UV-Index: 1 (Niedrig) ";
    Tile(f.PicIconMoon, f.PicMoon, 8, 1, 4);
    f.PicMoon.ToolTipText =
        " Mondphase: Zunehmender Mond (Tag 11) | Mond: 13:12 - 02:41 Uhr | Sonne: 07:41 - 16:44 Uhr ";
    SampleSatellite(f.PicSat);

    // Forecast days.
    for (int i = 1; i <= f.MaxDays && i < kColumns && i <= static_cast<int>(std::size(kDays)); ++i) {
        const SampleDay& d = kDays[i - 1];
        f.lDay[i].Caption = d.heading;
        f.lDay[i].Tag =
            Cat({"http://www.accuweather.com/de/de/cologne/50667/daily-weather-forecast/178738?day=", std::to_string(i)});
        f.lDay[i].ToolTipText = Cat({" [DoppelKlick]:  Detailierte Vorhersage für ", d.date, "  »  Internet "});
        Tile(f.PicIcon, f.PicDay[i], 10, 5, d.dayIcon);
        Tile(f.PicIcon, f.PicNight[i], 10, 5, d.nightIcon);
        f.PicDay[i].ToolTipText = Cat({" ", d.dayPhrase, " | Wolkendecke: 40% "});
        f.PicNight[i].ToolTipText = Cat({" ", d.nightPhrase, " | Wolkendecke: 70% "});
        f.lTemp[i].Caption = Degrees(d.high);
        f.lTemp[i].ToolTipText = Cat({" Höchsttemperatur: ", Degrees(d.high), " | Gefühlt: ", Degrees(d.feltHigh), " "});
        f.lTempL[i].Caption = Degrees(d.low);
        f.lTempL[i].ToolTipText = Cat({" Tiefsttemperatur: ", Degrees(d.low), " | Gefühlt: ", Degrees(d.feltLow), " "});
        f.lWindS[i].Align = f.lWindNS[i].Align = Alignment::Left;
        f.lWindS[i].Caption = d.dayWind;
        f.lWindNS[i].Caption = d.nightWind;
        f.lWindS[i].ToolTipText = WindTip(d.dayWind, d.dayDegrees, d.daySpeed);
        f.lWindNS[i].ToolTipText = WindTip(d.nightWind, d.nightDegrees, d.nightSpeed);
        f.lUV[i].Caption = "UV:";
        f.lUVx[i].Caption = d.uv;
        f.lUVx[i].ToolTipText = Cat({" UV-Index: ", d.uv, " (", d.uvCategory, ") "});
    }
}

std::shared_ptr<Bitmap> SampleSatellitePicture() {
    auto picture = std::make_shared<Bitmap>(640, 480);
    for (int y = 0; y < picture->height; ++y)
        for (int x = 0; x < picture->width; ++x) picture->at(x, y) = SatelliteGrey(x / 640.0, y / 480.0);
    return picture;
}
