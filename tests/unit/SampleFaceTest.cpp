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

int CountColour(const FacePixels& img, const Label& l, Colour colour) {
    int n = 0;
    for (int y = l.Top; y < l.Top + l.Height; ++y)
        for (int x = l.Left; x < l.Left + l.Width; ++x) n += img.at(x, y) == colour;
    return n;
}

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

TEST(SampleFace, RequestedOnlyByTheHiddenKey) {
    const std::pair<const char*, bool> rows[] = {{"1", true},    {" 1 ", true}, {"0", false},  {"", false},
                                                 {"yes", false}, {"2", false},  {"11", false}, {nullptr, false}};
    for (const auto& [value, want] : rows) {
        FakeSettingsStore store;
        if (value) store.Set("Demo.SampleFace", value);
        EXPECT_EQ(SampleFaceRequested(store, "Korvelin", "AccuWeather"), want) << (value ? value : "missing");
    }
}

// The preview lays the texts in their colours into their labels and the pictures into their boxes.
TEST(SampleFace, PreviewShowsTextsAndPicturesInPlace) {
    Face empty, sample;
    FillSampleFace(sample.main);
    const FacePixels before = RenderFacePreview(FaceControls(empty.main), kFaceWidth, kFaceHeight);
    const FacePixels after = RenderFacePreview(FaceControls(sample.main), kFaceWidth, kFaceHeight);
    ASSERT_EQ(after.width, kFaceWidth);
    ASSERT_EQ(after.height, kFaceHeight);
    const frmMain& m = sample.main;
    for (const Label* l : {&m.lTemp[1], &m.lTempL[7], &m.lHumi[0], &m.lPres[0], &m.lDay[4], &m.lUVx[7]}) {
        EXPECT_GT(CountColour(after, *l, l->ForeColor), 3) << l->Caption;
        EXPECT_EQ(CountColour(before, *l, l->ForeColor), 0) << l->Caption;
    }
    // Pictures land in their boxes; where a picture has no paint the background's well shows.
    const PicPixels day = PicView(m.PicDay[5]);
    const PicPixels background = PicView(m.Pic);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const int fx = m.PicDay[5].Left + x, fy = m.PicDay[5].Top + y;
            const std::uint32_t want = day.at(x, y) == kPictureKeyColour ? background.at(fx, fy) : day.at(x, y);
            ASSERT_EQ(after.at(fx, fy), want) << x << "," << y;
        }
    EXPECT_TRUE(SaveFacePreviewPng(before, ::testing::TempDir() + "face-preview-empty.png"));
    EXPECT_TRUE(SaveFacePreviewPng(after, ::testing::TempDir() + "face-preview-sample.png"));
}

}  // namespace
