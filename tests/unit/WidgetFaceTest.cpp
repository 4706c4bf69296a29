// The widget's face: column layout, picture boxes, label layout, clearing, title colour, title line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/FakePorts.h"
#include "widget/FaceControls.h"
#include "widget/FaceLayout.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"

namespace {

struct Face {
    FakePorts fake;
    FakeWindow window;
    frmMain main{fake.ports, window};
};

struct Box {
    int left, top, right, bottom;
};

Box BoxOf(const Label& l) { return {l.Left, l.Top, l.Left + l.Width, l.Top + l.Height}; }
Box BoxOf(const PictureBox& p) { return {p.Left, p.Top, p.Left + p.Width, p.Top + p.Height}; }
bool Overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Name(const FaceControl& c) { return std::string(c.name) + "(" + std::to_string(c.index) + ")"; }

// Right-aligned values of one column end at the same x, a little inside the column's pictures.
TEST(WidgetFace, RightAlignedValuesEndAtTheirColumnsRightEdge) {
    Face f;
    frmMain& m = f.main;
    const int rightEdge[] = {86, 129, 171, 213, 255, 297, 339, 381};
    for (const Label* l : {&m.lHumi[0], &m.lTempGx[0], &m.lWindS[0], &m.lPres[0], &m.lUVx[0]}) {
        EXPECT_EQ(l->Align, Alignment::Right);
        EXPECT_EQ(l->Left + l->Width, rightEdge[0]);
    }
    for (int n = 1; n <= 7; ++n) {
        for (const Label* l : {&m.lTemp[n], &m.lTempL[n], &m.lWindS[n], &m.lWindNS[n], &m.lUVx[n]}) {
            EXPECT_EQ(l->Align, Alignment::Right) << n;
            EXPECT_EQ(l->Left + l->Width, rightEdge[n]) << n;
        }
    }
}

TEST(WidgetFace, LabelsStayOnTheFaceAndApartFromEachOtherAndFromPictures) {
    Face f;
    const std::vector<FaceControl> all = FaceControls(f.main);
    std::vector<FaceControl> labels, pictures;
    for (const FaceControl& c : all) {
        if (c.label) labels.push_back(c);
        else if (std::string(c.name) != "Pic") pictures.push_back(c);
    }
    ASSERT_EQ(labels.size(), 6u + 8 + 8 + 7 + 1 + 1 + 1 + 1 + 1 + 1 + 8 + 7 + 8 + 8);
    for (const FaceControl& c : labels) {
        EXPECT_GE(c.Left(), 0) << Name(c);
        EXPECT_GE(c.Top(), 0) << Name(c);
        EXPECT_LE(c.Left() + c.Width(), kFaceWidth) << Name(c);
        EXPECT_LE(c.Top() + c.Height(), kFaceHeight) << Name(c);
        EXPECT_GT(c.Width(), 0) << Name(c);
        EXPECT_GT(c.Height(), 0) << Name(c);
        for (const FaceControl& p : pictures)
            EXPECT_FALSE(Overlap(BoxOf(*c.label), BoxOf(*p.picture))) << Name(c) << " / " << Name(p);
    }
    // Shadows lie one pixel right and down of their element; apart from that nothing overlaps.
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const FaceControl& a = labels[i];
        if (a.shadow) {
            ASSERT_LT(i + 1, labels.size());
            const FaceControl& owner = labels[i + 1];
            EXPECT_STREQ(owner.name, a.name);  // painted before, so behind its element
            EXPECT_EQ(owner.index, 0);
            EXPECT_EQ(a.Left(), owner.Left() + 1) << Name(a);
            EXPECT_EQ(a.Top(), owner.Top() + 1) << Name(a);
            EXPECT_EQ(a.Width(), owner.Width()) << Name(a);
            EXPECT_EQ(a.Height(), owner.Height()) << Name(a);
            continue;
        }
        for (std::size_t j = i + 1; j < labels.size(); ++j) {
            if (labels[j].shadow) continue;
            EXPECT_FALSE(Overlap(BoxOf(*a.label), BoxOf(*labels[j].label))) << Name(a) << " / " << Name(labels[j]);
        }
    }
}

// The longest texts the refresh writes, with their widths in pixels as Tahoma draws them at 96 DPI
// (8.25 pt regular and bold, 6.75 pt). A label narrower than its text would clip it.
TEST(WidgetFace, LabelsHoldTheLongestTextsTheRefreshWrites) {
    Face f;
    frmMain& m = f.main;
    struct Row {
        const Label& label;
        const char* text;
        int pixels;
    };
    const Row rows[] = {
        {m.lTemp[0], "-12.5°C", 43},    {m.lHumi[0], "100%", 35},        {m.lTempG[0], "Gefühlt:", 33},
        {m.lTempGx[0], "-12.5°C", 31},  {m.lWindD[0], "NNW", 26},         {m.lWindS[0], "100 km/h", 47},
        {m.lPres[0], "1013 hPa", 47},   {m.lUV[0], "UV-Index:", 39},      {m.lUVx[0], "11", 10},
        {m.lTemp[4], "-12°C", 33},      {m.lTempL[4], "104°F", 33},       {m.lWindS[4], "WNW", 28},
        {m.lWindNS[4], "NNW", 26},      {m.lUV[4], "UV:", 14},            {m.lUVx[4], "11", 10},
        {m.lTitle[0], "Wolkenglas:  Lade Daten, bitte warten ...", 233},
    };
    for (const Row& r : rows) EXPECT_GE(r.label.Width, r.pixels) << r.text;
    // Headings break into two lines of at most 13 pixels: "MO" over "09.11.".
    for (const Label& l : m.lDay) {
        EXPECT_TRUE(l.WordWrap);
        EXPECT_GE(l.Height, 2 * 13);
        EXPECT_GE(l.Width, 30);  // "09.11."
    }
}

// Every element of the arrays ClearLabels works on, with something in it.
void FillEverything(frmMain& m) {
    for (LabelArray* a : {&m.lTitle, &m.lExit, &m.lHide, &m.lDay, &m.lTemp, &m.lTempL, &m.lTempG, &m.lTempGx,
                          &m.lHumi, &m.lPresTrend, &m.lPres, &m.lWindD, &m.lWindS, &m.lWindNS, &m.lUV, &m.lUVx})
        for (Label& l : *a) {
            l.Caption.assign(1, 'x');
            l.ToolTipText.assign("tip");
            l.Tag.assign("tag");
        }
    for (PictureBox* p : {&m.PicMoon, &m.PicWind, &m.PicSat}) {
        PicEnsureImage(*p);
        p->ToolTipText = "tip";
    }
    for (PictureArray* a : {&m.PicDay, &m.PicNight})
        for (PictureBox& p : *a) {
            PicEnsureImage(p);
            p.ToolTipText = "tip";
        }
}

TEST(WidgetFace, ClearLabelsEmptiesTheValuesOfTheUsedColumnsAndLeavesTitleAndButtons) {
    Face f;
    frmMain& m = f.main;
    FillEverything(m);
    m.ClearLabels();
    for (int n = 0; n <= 7; ++n) {
        for (const LabelArray* a : {&m.lTemp, &m.lHumi, &m.lTempG, &m.lTempGx, &m.lTempL, &m.lWindD, &m.lWindS,
                                    &m.lWindNS, &m.lPresTrend, &m.lPres, &m.lUVx}) {
            EXPECT_EQ((*a)[n].Caption, "") << n;
            EXPECT_EQ((*a)[n].ToolTipText, "") << n;
        }
        EXPECT_EQ(m.lUV[n].Caption, "") << n;
        EXPECT_EQ(m.lUV[n].ToolTipText, "tip") << "the UV captions' tooltips stay";
        EXPECT_EQ(m.lDay[n].Caption, "");
        EXPECT_EQ(m.lDay[n].ToolTipText, "");
        EXPECT_EQ(m.lDay[n].Tag, "");
        EXPECT_EQ(PicView(m.PicDay[n]).data, nullptr) << n;
        EXPECT_EQ(m.PicDay[n].ToolTipText, "") << n;
        EXPECT_EQ(PicView(m.PicNight[n]).data, nullptr) << n;
        EXPECT_EQ(m.PicNight[n].ToolTipText, "") << n;
    }
    // The current conditions lose their "Gefühlt:" and "UV-Index:" too; the refresh writes them.
    EXPECT_EQ(m.lTempG[0].Caption, "");
    EXPECT_EQ(m.lUV[0].Caption, "");
    for (const PictureBox* p : {&m.PicMoon, &m.PicWind, &m.PicSat}) {
        EXPECT_EQ(PicView(*p).data, nullptr);
        EXPECT_EQ(p->ToolTipText, "tip");
    }
    for (const LabelArray* a : {&m.lTitle, &m.lExit, &m.lHide})
        for (const Label& l : *a) {
            EXPECT_EQ(l.Caption, "x");
            EXPECT_EQ(l.ToolTipText, "tip");
        }

    Face three;  // only the columns in use
    FillEverything(three.main);
    three.main.MaxDays = 3;
    three.main.ClearLabels();
    EXPECT_EQ(three.main.lTemp[3].Caption, "");
    EXPECT_EQ(three.main.lTemp[4].Caption, "x");
    EXPECT_NE(PicView(three.main.PicDay[4]).data, nullptr);

    Face twelve;  // more days than the arrays hold stay inside them
    FillEverything(twelve.main);
    twelve.main.MaxDays = 12;
    twelve.main.InitPics();
    twelve.main.ClearLabels();
    EXPECT_EQ(twelve.main.lTemp[7].Caption, "");
}

TEST(WidgetFace, TitleColorFollowsTheFocusOnlyForItsTwoColours) {
    struct Row {
        Colour before;
        bool foreground;
        Colour after;
    };
    const Row rows[] = {
        {0x80FF80, true, 0x80FF80},  {0x80FF80, false, 0xC0C0C0}, {0xC0C0C0, true, 0x80FF80},
        {0xC0C0C0, false, 0xC0C0C0}, {0xFFFF80, true, 0xFFFF80},  {0xFFFF80, false, 0xFFFF80},  // farewell
        {0xFF8080, false, 0xFF8080}, {0x80FF81, false, 0x80FF81},  // error, and a near miss
    };
    for (const Row& r : rows) {
        Face f;
        f.window.handle = 0x5150;
        f.fake.system.foreground = r.foreground ? 0x5150 : 0x7777;
        f.main.lTitle[0].ForeColor = r.before;
        f.main.TitleColor();
        EXPECT_EQ(f.main.lTitle[0].ForeColor, r.after) << std::hex << r.before << " " << r.foreground;
    }
    Face f;  // a window without a handle is never the foreground
    f.window.handle = 0;
    f.fake.system.foreground = 0;
    f.main.TitleColor();
    EXPECT_EQ(f.main.lTitle[0].ForeColor, 0xC0C0C0u);
}

}  // namespace
