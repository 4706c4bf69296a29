// The widget's face: controls at design time, layout of the picture boxes, clearing, title colour.
#include "widget/frmMain.h"

#include <algorithm>
#include <string>

#include "system/mFormForeground.h"
#include "widget/FaceLayout.h"
#include "widget/PictureOps.h"

namespace {

constexpr Colour kTitleActive = 0x80FF80;
constexpr Colour kTitleInactive = 0xC0C0C0;

// One line of Tahoma 8.25 pt is 13 pixels at 96 DPI, of 6.75 pt 11.
constexpr int kLine = 13;
constexpr int kSmallLine = 11;
constexpr int kHeadingTop = 21;
constexpr int kHeadingHeight = 29;  // two lines: the headings break between words

const FontSpec kFormFont{};
const FontSpec kBoldFont{"Tahoma", 8.25f, true, false};
const FontSpec kSmallFont{"Tahoma", 6.75f, false, false};
const FontSpec kWingdings{"Wingdings", 9.75f, false, true};
const FontSpec kMarlett{"Marlett", 9.0f, false, true};

void Place(Label& l, int left, int top, int width, int height, Colour colour, const FontSpec& font,
           Alignment align, std::string caption, std::string tooltip = {}) {
    l.exists = true;
    l.Left = left;
    l.Top = top;
    l.Width = width;
    l.Height = height;
    l.ForeColor = colour;
    l.Font = font;
    l.Align = align;
    l.Caption = std::move(caption);
    l.ToolTipText = std::move(tooltip);
}

// Right-aligned values are placed by the right edge they share with their column; they reach as
// far left as their longest text needs.
void PlaceRight(Label& l, int right, int width, int top, int height, Colour colour, const FontSpec& font,
                std::string caption, std::string tooltip) {
    Place(l, right - width, top, width, height, colour, font, Alignment::Right, std::move(caption),
          std::move(tooltip));
}

void PlacePicture(PictureBox& p, int left, int top, int width, int height) {
    p.exists = true;
    p.Left = left;
    p.Top = top;
    p.Width = width;
    p.Height = height;
    p.BackColor = 0x000000;
}

int UsedColumns(int maxDays) { return std::clamp(maxDays, 0, kColumns - 1); }

}  // namespace

void frmMain::DesignControls() {
    PlacePicture(Pic, 0, 0, kFaceWidth, kFaceHeight);

    // Title line with its shadow, and the two buttons with theirs.
    Place(lTitle[0], 5, 2, 357, kLine + 1, kTitleActive, kBoldFont, Alignment::Left, "Wolkenglas");
    lTitle[0].EndEllipsis = true;
    Place(lTitle[1], 6, 3, 357, kLine + 1, 0x000000, kBoldFont, Alignment::Left, "Wolkenglas");
    lTitle[1].EndEllipsis = true;
    Place(lExit[0], 373, 1, 12, 15, 0xE0E0E0, kWingdings, Alignment::Left, "\xFD", " Schließen ");
    Place(lExit[1], 374, 2, 12, 15, 0x000000, kWingdings, Alignment::Left, "\xFD");
    Place(lHide[0], 362, 3, 10, 12, 0xB0B0B0, kMarlett, Alignment::Left, "0", " Minimieren ");
    Place(lHide[1], 363, 4, 10, 12, 0x000000, kMarlett, Alignment::Left, "0");
    for (Label* l : {&lExit[0], &lExit[1], &lHide[0], &lHide[1]}) l->HandPointer = true;

    // Current conditions.
    const int r0 = ColumnRight(0);
    Place(lDay[0], 6, kHeadingTop, 81, kHeadingHeight, 0xFFFFFF, kFormFont, Alignment::Center,
          "Aktuelle Wetterlage");
    Place(lTemp[0], 8, 136, 43, kLine, 0xFFFF80, kBoldFont, Alignment::Left, "-0.0°C", " Temperatur ");
    PlaceRight(lHumi[0], r0, 35, 136, kLine, 0xFFFF80, kBoldFont, "00%", " Luftfeuchtigkeit ");
    Place(lTempG[0], 8, 152, 38, kSmallLine, 0xFFFFC0, kSmallFont, Alignment::Left, "Gefühlt:");
    PlaceRight(lTempGx[0], r0, 39, 152, kSmallLine, 0xFFFFC0, kSmallFont, "-0.0°C", " Gefühlte Temperatur ");
    Place(lWindD[0], 8, 166, 30, kLine, 0xC0FFC0, kFormFont, Alignment::Left, "NNW", " Luftfeuchtigkeit ");
    PlaceRight(lWindS[0], r0, 48, 166, kLine, 0xC0FFC0, kFormFont, "0 km/h", " Luftfeuchtigkeit ");
    Place(lPresTrend[0], 6, 180, 16, kLine + 1, 0xC0FFFF, kWingdings, Alignment::Left, "\xF0", " Luftfeuchtigkeit ");
    PlaceRight(lPres[0], r0, 63, 180, kLine, 0xC0FFFF, kFormFont, "0000 hPa", " Luftfeuchtigkeit ");
    Place(lUV[0], 8, 196, 46, kSmallLine, 0xD0A0FF, kSmallFont, Alignment::Left, "UV-Index:",
          " UV-Index (Wert 0-15) ");
    PlaceRight(lUVx[0], r0, 31, 196, kSmallLine, 0xD0A0FF, kSmallFont, "0", " UV-Index (Wert 0-15) ");

    // Forecast days.
    for (int n = 1; n < kColumns; ++n) {
        const int x = ColumnX(n);
        const int r = ColumnRight(n);
        const Colour grey = 0xE0 - 0x10 * static_cast<Colour>(n - 1);
        Place(lDay[n], x + 1, kHeadingTop, 39, kHeadingHeight, grey << 16 | grey << 8 | grey, kFormFont,
              Alignment::Center, "Tag " + std::to_string(n));
        PlaceRight(lTemp[n], r, 37, 136, kLine, 0xFF8080, kBoldFont, "00°C", " Temperatur ");
        PlaceRight(lTempL[n], r, 37, 150, kLine, 0x8080FF, kBoldFont, "00°C", " Temperatur ");
        PlaceRight(lWindS[n], r, 36, 166, kLine, 0xFFC0FF, kFormFont, "NNW", " Luftfeuchtigkeit ");
        PlaceRight(lWindNS[n], r, 36, 180, kLine, 0xC0C0FF, kFormFont, "NNW", " Luftfeuchtigkeit ");
        Place(lUV[n], n == 1 ? 92 : 136 + 42 * (n - 2), 196, 16, kSmallLine, 0xC090EE, kSmallFont,
              Alignment::Left, "UV:", " Maximaler UV-Index (Wert 0-15) ");
        PlaceRight(lUVx[n], r, 18, 196, kSmallLine, 0xC090EE, kSmallFont, "0", " Maximaler UV-Index (Wert 0-15) ");
    }
    for (Label& l : lDay) {
        l.WordWrap = true;
        l.HandPointer = true;
    }

    // Picture boxes at their design places; InitPics lays them out again at start.
    PlaceColumnPictures(kColumns - 1);
    PicSat.HandPointer = true;

    // Sheets and icon surfaces lie outside the face.
    PlacePicture(PicIcon, kFaceWidth + 8, 0, 410, 205);
    PlacePicture(PicIconWind, kFaceWidth + 8, 210, 320, 80);
    PlacePicture(PicIconMoon, kFaceWidth + 8, 295, 320, 40);
    PlacePicture(PicProgIcon, kFaceWidth + 8, 340, 32, 32);
    PlacePicture(PicTray, kFaceWidth + 48, 340, 32, 32);
}

void frmMain::InitPics() { PlaceColumnPictures(UsedColumns(MaxDays)); }

// Day and night pictures of columns 0 to lastColumn, and the moon, wind and satellite boxes.
void frmMain::PlaceColumnPictures(int lastColumn) {
    for (int n = 0; n <= lastColumn; ++n) {
        PlacePicture(PicDay[n], ColumnX(n), kDayPictureTop, kPictureSize, kPictureSize);
        if (n >= 1) PlacePicture(PicNight[n], ColumnX(n), kNightPictureTop, kPictureSize, kPictureSize);
    }
    PlacePicture(PicMoon, ColumnX(0) + 41, kDayPictureTop, kPictureSize, kPictureSize);
    PlacePicture(PicWind, ColumnX(0), kNightPictureTop, kPictureSize, kPictureSize);
    PlacePicture(PicSatBG, ColumnX(0) + 41, kNightPictureTop, kPictureSize, kPictureSize);
    PlacePicture(PicSat, ColumnX(0) + 45, kNightPictureTop, 32, kPictureSize);
}

void frmMain::ClearLabels() {
    const int days = UsedColumns(MaxDays);
    for (int n = 0; n <= days; ++n) {
        for (LabelArray* a : {&lTemp, &lHumi, &lTempG, &lTempGx, &lTempL, &lWindD, &lWindS, &lWindNS,
                              &lPresTrend, &lPres, &lUVx}) {
            (*a)[n].Caption.clear();
            (*a)[n].ToolTipText.clear();
        }
        lUV[n].Caption.clear();
        for (PictureArray* a : {&PicDay, &PicNight}) {
            PicCls((*a)[n]);
            (*a)[n].ToolTipText.clear();
        }
        lDay[n].Caption.clear();
        lDay[n].ToolTipText.clear();
        lDay[n].Tag.clear();
    }
    PicCls(PicMoon);
    PicCls(PicWind);
    PicCls(PicSat);
}

void frmMain::TitleColor() {
    Colour& colour = lTitle[0].ForeColor;
    if (colour != kTitleActive && colour != kTitleInactive) return;
    colour = IsForeground(ports_.system, view_.Handle()) ? kTitleActive : kTitleInactive;
}

void frmMain::SetTitle(const std::string& caption) {
    Label& title = lTitle[0];
    Label& shadow = lTitle[1];
    title.Caption = caption;
    shadow.Caption = caption;
    shadow.Left = title.Left + 1;
    shadow.Top = title.Top + 1;
    shadow.Width = title.Width;
    shadow.Height = title.Height;
    view_.SetCaption(caption);
}

void frmMain::SetExitCaption(const std::string& caption) {
    lExit[0].Caption = caption;
    lExit[1].Caption = caption;
}
