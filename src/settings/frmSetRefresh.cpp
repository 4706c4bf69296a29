// The refresh: requests away from the window thread, checks, the widget's columns, the tray,
// the satellite picture; the error line and the program icon's frame.
#include <algorithm>
#include <memory>

#include "satellite/PicScale.h"
#include "satellite/frmPic.h"
#include "service/mJSON.h"
#include "settings/frmSet.h"
#include "system/Cat.h"
#include "system/Numbers.h"
#include "system/mExists.h"
#include "system/mTempFileName.h"
#include "tray/mPicIcon.h"
#include "tray/mSysTray.h"
#include "weather/CurrentConditions.h"
#include "weather/ForecastDay.h"
#include "weather/RefreshRequests.h"
#include "weather/ReplyText.h"
#include "weather/RunError.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"

namespace {

constexpr Colour kLoadingColour = 0xC0C0FF;
constexpr Colour kDoneColour = 0x80FF80;
constexpr Colour kErrorColour = 0xFFB0B0;
constexpr Colour k3DDarkShadow = 0x696969;  // the system colours' defaults
constexpr Colour k3DHighlight = 0xFFFFFF;
constexpr int kIconSize = 32;

// No answer at all (a time-out, no connection) rather than the service's refusal or a reply:
// the network is missing. A time-out leaves no text, a failed connection its status "Error!".
bool NetworkAway(const std::string& reply) { return reply.empty() || reply == "Error!"; }

// Draws tile `tile` of a sheet of cols x rows, or clears the box for tile 0: an unknown picture
// must not leave the last run's in place.
void ShowTile(const PictureBox& sheet, PictureBox& box, int cols, int rows, int tile) {
    PicCls(box);
    if (tile > 0) PicMap(sheet, box, 0, 0, cols, rows, tile, 1, 1.0f);
}

void Line(Bitmap& image, int x0, int y0, int x1, int y1, Colour colour) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (image.contains(x, y)) image.at(x, y) = colour;
}

// The place as the title shows it: without the country when it lies in the language's own.
std::string PlaceNameOf(const std::string& location, const std::string& language) {
    std::string name = GetJSONValue(location, "LocalizedName");
    if (name.empty()) name = GetJSONValue(location, "EnglishName");
    if (LowerCase(language).find(LowerCase(GetJSONValue(location, "Country/ID"))) == std::string::npos)
        name += Cat(", ", GetJSONValue(location, "Country/LocalizedName"));
    return ShownText(name);
}

void FillCurrent(frmMain& f, const CurrentConditions& c) {
    f.lDay[0].Tag = c.link;
    f.lDay[0].ToolTipText = " [DoppelKlick]:  Aktuelle Wetterlage im Detail  »  Internet ";
    f.PicDay[0].ToolTipText = c.weatherTip;
    f.lTempG[0].Caption = "Gefühlt:";
    f.lTemp[0].Caption = c.temperature;
    f.lTempGx[0].Caption = c.felt;
    f.lTemp[0].ToolTipText = f.lTempG[0].ToolTipText = f.lTempGx[0].ToolTipText = c.temperatureTip;
    f.lHumi[0].Caption = c.humidity;
    f.lHumi[0].ToolTipText = c.humidityTip;
    f.lPres[0].Caption = c.pressure;
    f.lPres[0].ToolTipText = c.pressureTip;
    f.lPresTrend[0].Caption = c.trendGlyph;
    f.lPresTrend[0].ToolTipText = c.trendTip;
    ShowTile(f.PicIconWind, f.PicWind, 8, 2, c.windSector);
    f.lWindD[0].Caption = c.windDirection;
    f.lWindS[0].Caption = c.windSpeed;
    f.lWindS[0].ToolTipText = f.lWindD[0].ToolTipText = f.PicWind.ToolTipText = c.windTip;
    f.lUV[0].Caption = "UV-Index:";
    f.lUVx[0].Caption = c.uvIndex;
    f.lUVx[0].ToolTipText = c.uvTip;
}

void FillDay(frmMain& f, int i, const ForecastDay& d) {
    f.lDay[i].Tag = d.link;
    f.lDay[i].ToolTipText = d.headingTip;
    ShowTile(f.PicIcon, f.PicDay[i], 10, 5, d.dayIcon);
    ShowTile(f.PicIcon, f.PicNight[i], 10, 5, d.nightIcon);
    f.PicDay[i].ToolTipText = d.dayIconTip;
    f.PicNight[i].ToolTipText = d.nightIconTip;
    f.lTemp[i].Caption = d.maximum;
    f.lTemp[i].ToolTipText = d.maximumTip;
    f.lTempL[i].Caption = d.minimum;
    f.lTempL[i].ToolTipText = d.minimumTip;
    f.lWindS[i].Align = f.lWindNS[i].Align = Alignment::Left;
    f.lWindS[i].Caption = d.dayWind;
    f.lWindS[i].ToolTipText = d.dayWindTip;
    f.lWindNS[i].Caption = d.nightWind;
    f.lWindNS[i].ToolTipText = d.nightWindTip;
    f.lUV[i].Caption = "UV:";
    f.lUVx[i].Caption = d.uv;
    f.lUVx[i].ToolTipText = d.uvTip;
}

// A column the reply has no day for shows nothing rather than an older day.
void ClearDay(frmMain& f, int i) {
    for (Label* l : {&f.lDay[i], &f.lTemp[i], &f.lTempL[i], &f.lWindS[i], &f.lWindNS[i], &f.lUV[i], &f.lUVx[i]}) {
        l->Caption.clear();
        l->ToolTipText.clear();
        l->Tag.clear();
    }
    for (PictureBox* p : {&f.PicDay[i], &f.PicNight[i]}) {
        PicCls(*p);
        p->ToolTipText.clear();
    }
}

void RemoveFiles(FileSystem& files, const std::string& tempFile, const std::string& pictureFile) {
    files.RemoveFile(pictureFile);
    if (tempFile != pictureFile) files.RemoveFile(tempFile);
}

}  // namespace

void frmSet::cChk_Click() { StartRefresh(true); }

void frmSet::StartRefresh(bool asked) {
    // Never beside a search: its reply would refill the place list under the refresh.
    if (refreshing_ || searching_) return;
    if (!services_) {
        ports_.system.Beep();
        return;
    }
    Label& title = main_.lTitle[0];
    title.ForeColor = kLoadingColour;
    main_.SetTitle(Cat(MC, ":  Lade Daten, bitte warten ..."));
    title.ToolTipText = M2;
    const bool metric = oMetric[0];
    if (coLocListIndex < 0 || Trim(tCID).empty()) {
        ports_.system.Beep();
        return;
    }
    cChkEnabled = coLocEnabled = tSearchEnabled = false;
    tSearchText.clear();
    refreshing_ = true;
    askedByUser_ = asked;

    const std::string language = GetLanguage(services_->registry);
    const WeatherService service{{services_->transport, services_->environment}, ports_.settings};
    auto replies = std::make_shared<ServiceReplies>();
    services_->tasks.Run(
        [service, replies, key = tCID, language, metric] { *replies = FetchServiceReplies(service, key, language, metric); },
        [this, replies, language, metric] { ShowReplies(*replies, language, metric); });
}

void frmSet::ShowReplies(const ServiceReplies& r, const std::string& language, bool metric) {
    if (unloaded_) return;
    try {
        if (r.location.find('{') == std::string::npos) {
            RefreshFailBeep();
            // The schedule tries again once the network is back.
            if (NetworkAway(r.location)) NoNetwork();
            // "Http-Error 503: Service Unavailable" shows from its status on.
            if (LowerCase(r.location).find("error") != std::string::npos)
                ErrOut(LocationErrorLine(r.location));
            else
                ErrOut("FEHLER:  Verbindungs-Problem mit Server.");
            return RefreshDone();
        }
        if (r.current.find('[') == std::string::npos) {
            RefreshFailBeep();
            if (NetworkAway(r.current)) NoNetwork();
            ErrOut("FEHLER:  Server lieferte keine Wetter-Daten.");
            return RefreshDone();
        }
        const std::string conditions = SplitJSONArray(r.current)[1];
        const std::vector<std::string> days = SplitJSONArray(GetJSONValue(r.forecast, "DailyForecasts"));
        // A forecast that timed out, failed or holds no day is no forecast either: nothing to
        // fill the columns with.
        if (conditions.size() < 11 || days.size() < 2 || Trim(days[1]).empty()) {
            RefreshFailBeep();
            if (NetworkAway(r.forecast)) NoNetwork();
            ErrOut("FEHLER:  Server lieferte keine Wetter-Vorhersage.");
            return RefreshDone();
        }

        const std::string place = PlaceNameOf(r.location, language);
        if (!Trim(place).empty()) main_.SetTitle(Cat(MC, ":  ", place));

        // Current conditions, the program and tray icon, the tray's texts and balloon.
        const SheetsLoaded sheets(main_.View());
        Locale& locale = services_->locale;
        const std::string& today = days[1];
        const CurrentConditions c = ReadCurrentConditions(conditions, today, metric, place, locale);
        ShowTile(main_.PicIcon, main_.PicDay[0], 10, 5, c.icon);
        PictureBox& progIcon = main_.PicProgIcon;
        progIcon.Image = std::make_shared<Bitmap>(kIconSize, kIconSize, kPictureKeyColour);
        if (const auto& day = main_.PicDay[0].Image)
            StretchCopy(*day, {0, 0, day->width, day->height}, *progIcon.Image, {0, 0, kIconSize, kIconSize});
        IconFrame();
        main_.PicTray.Image = std::make_shared<Bitmap>(*progIcon.Image);
        main_.View().SetIcon(PicToIcon(*main_.PicTray.Image, kPictureKeyColour));
        lLinkTag = c.link;
        FillCurrent(main_, c);
        BalloonText = c.balloonText;
        std::string balloon;
        if (ckBalloon.Value == 1 && c.icon != LastIcon) {
            LastIcon = static_cast<std::int16_t>(c.icon);
            balloon = BalloonText;
            BalloonTime = services_->clock.SecondsSinceMidnight();
            BalloonPending = true;
        }
        TrayTip = c.trayTip;
        PlaceName = place;
        TrayNotify(TrayMessage::Modify, TrayTip, place, balloon, kBalloonInfoIcon, 10000);

        const SunAndMoon moon = ReadSunAndMoon(today, locale);
        ShowTile(main_.PicIconMoon, main_.PicMoon, 8, 1, moon.moonTile);
        main_.PicMoon.ToolTipText = moon.moonTip;
        main_.lDay[0].Caption = ObservationText(conditions, services_->clock, locale);

        // Forecast columns; a column without its day stays empty.
        const UnitTexts units = ReadUnits(conditions, metric);
        const int columns = std::min(MaxDays, kColumns - 1);
        for (int i = 1; i <= columns; ++i) {
            const bool hasDay = static_cast<std::size_t>(i) < days.size() && !Trim(days[i]).empty();
            if (!hasDay) {
                ClearDay(main_, i);
                continue;
            }
            const ForecastDay d = ReadForecastDay(days[i], units, locale);
            main_.lDay[i].Caption = d.heading;
            FillDay(main_, i, d);
            tSearchEnabled = true;
        }

        main_.lTitle[0].ForeColor = kDoneColour;
        main_.SetTitle(Cat(MC, ":  ", place));
        main_.lTitle[0].ToolTipText = M2;
        DataShown();

        // The satellite picture: a temporary name with ".jpg" for the platform's decoder.
        const std::string tempFile = TempFileName(ports_.system, "TMP");
        std::string pictureFile = tempFile;
        if (pictureFile.size() >= 4 && LowerCase(pictureFile.substr(pictureFile.size() - 4)) == ".tmp")
            pictureFile.replace(pictureFile.size() - 4, 4, ".jpg");
        satelliteFiles_ = {tempFile, pictureFile};
        const HttpClient http{services_->transport, services_->environment};
        auto bytes = std::make_shared<std::vector<std::uint8_t>>();
        services_->tasks.Run([http, bytes, url = SatelliteUrl(ports_.settings)] { *bytes = FetchSatellite(http, url); },
                             [this, bytes, tempFile, pictureFile] { ShowSatellite(tempFile, pictureFile, *bytes); });
    } catch (...) {
        RefreshFailed();
    }
}

void frmSet::ShowSatellite(const std::string& tempFile, const std::string& pictureFile, const std::vector<std::uint8_t>& bytes) {
    FileSystem& files = ports_.files;
    satelliteFiles_.clear();
    if (unloaded_) return RemoveFiles(files, tempFile, pictureFile);
    try {
        if (bytes.size() > 1 && !pictureFile.empty())
            files.WriteFile(pictureFile, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (!pictureFile.empty() && FileSize(files, pictureFile) > 0) {
            std::optional<Bitmap> picture = services_->pictures.LoadPicture(pictureFile);
            if (!picture || picture->empty()) throw InvalidPictureError();
            PictureBox& thumbnail = main_.PicSat;
            PicEnsureImage(thumbnail);
            PicAspectCopy(*picture, *thumbnail.Image, 1.0f);
            picture.reset();
            if (frmPic* pic = main_.PicWindow()) pic->SetPicture(std::make_shared<const std::vector<std::uint8_t>>(bytes));
            thumbnail.Visible = true;
        } else {
            main_.PicSat.Visible = false;
        }
        RemoveFiles(files, tempFile, pictureFile);
        RefreshDone();
    } catch (...) {
        RemoveFiles(files, tempFile, pictureFile);
        RefreshFailed();
    }
}

void frmSet::RefreshDone() {
    coLocEnabled = cChkEnabled = true;
    DataLoaded = true;
    RefreshEnded();
}

void frmSet::RefreshEnded() {
    refreshing_ = false;
    if (refreshAgain_) {
        refreshAgain_ = false;
        StartRefresh(true);
        if (refreshing_) return;
    }
    if (updateAfterRefresh_) {
        updateAfterRefresh_ = false;
        UpdateChk();
    }
}

// A refresh the user asked for always beeps when it fails; of the automatic ones only the first
// of a series of failures, so that a machine without network is not beeped at every minute.
void frmSet::RefreshFailBeep() {
    if (askedByUser_ || !failing_) ports_.system.Beep();
    failing_ = true;
}

// The error path: the dialog usable again, the caught error in the title line.
void frmSet::RefreshFailed() {
    try {
        throw;
    } catch (const RunError& e) {
        errNumber_ = e.number;
        errDescription_ = e.what();
    } catch (const std::bad_alloc&) {
        errNumber_ = 7;
        errDescription_ = "Nicht genügend Speicher";
    } catch (...) {
        errNumber_ = 5;
        errDescription_ = "Unzulässiger Prozeduraufruf oder Argument";
    }
    coLocEnabled = cChkEnabled = true;
    ErrOut("");
    RefreshEnded();
}

void frmSet::ErrOut(const std::string& ErrDesc) {
    std::string text = ErrDesc;
    if (Trim(text).empty()) text = Cat("FEHLER #", std::to_string(errNumber_), ":  ", errDescription_, ".");
    Label& title = main_.lTitle[0];
    title.ForeColor = kErrorColour;
    main_.SetTitle(text);
    title.ToolTipText = Cat(" ", text, " ");
}

void frmSet::IconFrame() {
    PictureBox& box = main_.PicProgIcon;
    PicEnsureImage(box);
    Bitmap& image = *box.Image;
    Line(image, 1, 1, 1, 32, k3DDarkShadow);
    Line(image, 1, 1, 31, 1, k3DDarkShadow);
    Line(image, 31, 1, 31, 32, k3DHighlight);
    Line(image, 2, 31, 31, 31, k3DHighlight);
}
