// The sample face and the portable preview that draws it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "doubles/FakePorts.h"
#include "widget/FaceControls.h"
#include "widget/FaceLayout.h"
#include "widget/FacePreview.h"
#include "widget/PictureOps.h"
#include "widget/SampleFace.h"
#include "widget/frmMain.h"

namespace {

const std::filesystem::path kRes = std::filesystem::path(WG_SOURCE_DIR) / "res";

struct Face {
    FakePorts fake;
    FakeWindow window;
    frmMain main{fake.ports, window};
    Face() {
        main.MC = "Wolkenglas";
        EXPECT_TRUE(PicLoadFile(main.Pic, kRes / "background.bmp"));
        EXPECT_TRUE(PicLoadFile(main.PicIcon, kRes / "weather.bmp"));
        EXPECT_TRUE(PicLoadFile(main.PicIconWind, kRes / "wind.bmp"));
        EXPECT_TRUE(PicLoadFile(main.PicIconMoon, kRes / "moon.bmp"));
        main.InitPics();
        main.ClearLabels();
    }
};

int CountPainted(const PictureBox& box) {
    const PicPixels px = PicView(box);
    int n = 0;
    for (int i = 0; i < px.width * px.height; ++i) n += px.data[i] != kPictureKeyColour;
    return n;
}

TEST(SampleFace, FillsEveryValueTooltipAndPicture) {
    Face f;
    frmMain& m = f.main;
    FillSampleFace(m);
    EXPECT_EQ(f.window.caption, "Wolkenglas:  K\xF6ln");
    EXPECT_EQ(m.lTitle[1].Caption, m.lTitle[0].Caption);
    for (const LabelArray* a : {&m.lTemp, &m.lTempG, &m.lTempGx, &m.lHumi, &m.lPres, &m.lPresTrend, &m.lWindD,
                                &m.lWindS, &m.lUV, &m.lUVx})
        EXPECT_FALSE((*a)[0].Caption.empty());
    for (int n = 1; n <= 7; ++n) {
        for (const LabelArray* a : {&m.lDay, &m.lTemp, &m.lTempL, &m.lWindS, &m.lWindNS, &m.lUV, &m.lUVx})
            EXPECT_FALSE((*a)[n].Caption.empty()) << n;
        for (const LabelArray* a : {&m.lDay, &m.lTemp, &m.lTempL, &m.lWindS, &m.lWindNS, &m.lUVx})
            EXPECT_FALSE((*a)[n].ToolTipText.empty()) << n;
        EXPECT_FALSE(m.lDay[n].Tag.empty());
        // Forecast winds are directions and stand on the left.
        EXPECT_EQ(m.lWindS[n].Align, Alignment::Left);
        EXPECT_GT(CountPainted(m.PicDay[n]), 100) << n;
        EXPECT_GT(CountPainted(m.PicNight[n]), 100) << n;
        EXPECT_FALSE(m.PicDay[n].ToolTipText.empty());
    }
    for (const PictureBox* p : {&m.PicDay[0], &m.PicMoon, &m.PicWind, &m.PicSat}) EXPECT_GT(CountPainted(*p), 100);
}

}  // namespace
