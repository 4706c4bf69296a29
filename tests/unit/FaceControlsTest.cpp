// The face's controls as painter, tooltips and mouse see them: order, hit test, change detection.
#include <gtest/gtest.h>

#include <string>

#include "doubles/FakePorts.h"
#include "widget/FaceControls.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"

namespace {

struct Face {
    FakePorts fake;
    FakeWindow window;
    frmMain main{fake.ports, window};
};

TEST(FaceControls, PaintingOrderPutsPicturesOverLabels) {
    Face f;
    const auto all = FaceControls(f.main);
    ASSERT_FALSE(all.empty());
    EXPECT_STREQ(all.front().name, "Pic");
    bool seenPicture = false;
    for (std::size_t i = 1; i < all.size(); ++i) {
        const FaceControl& c = all[i];
        if (c.picture) seenPicture = true;
        else EXPECT_FALSE(seenPicture) << c.name << " comes after a picture box";
    }
    // The sheets and icon surfaces lie outside the face and are not part of it.
    for (const FaceControl& c : all) {
        EXPECT_NE(c.picture, &f.main.PicIcon);
        EXPECT_NE(c.picture, &f.main.PicTray);
    }
}

TEST(FaceControls, HitTestFindsTheControlInFront) {
    Face f;
    f.main.lHide[0].Visible = false;  // pressed: only its shadow shows
    struct Row {
        int x, y;
        const char* name;  // nullptr: nothing
        int index;
    };
    const Row rows[] = {
        {0, 0, "Pic", -1},          {10, 60, "PicDay", 0},     {60, 100, "PicSat", -1},
        {47, 93, "PicSatBG", -1},   {378, 8, "lExit", 0},      {385, 16, "lExit", 1},
        {366, 8, "lHide", 1},       {200, 5, "lTitle", 0},     {100, 140, "lTemp", 1},
        {100, 155, "lTempL", 1},    {375, 200, "lUVx", 7},     {100, 30, "lDay", 1},
        {30, 30, "lDay", 0},        {-1, 5, nullptr, 0},       {388, 0, nullptr, 0},
        {0, 213, nullptr, 0},       {387, 212, "Pic", -1},
    };
    for (const Row& r : rows) {
        const auto hit = FaceControlAt(f.main, r.x, r.y);
        if (!r.name) {
            EXPECT_FALSE(hit) << r.x << "," << r.y;
            continue;
        }
        ASSERT_TRUE(hit) << r.x << "," << r.y;
        EXPECT_STREQ(hit->name, r.name) << r.x << "," << r.y;
        EXPECT_EQ(hit->index, r.index) << r.x << "," << r.y;
    }
}

TEST(FaceControls, FingerprintChangesWithWhatThePainterShows) {
    Face f;
    const std::uint64_t start = FaceFingerprint(f.main);
    EXPECT_EQ(FaceFingerprint(f.main), start);

    using Change = void (*)(frmMain&);
    const std::pair<const char*, Change> changes[] = {
        {"caption", [](frmMain& m) { m.lTemp[3].Caption = "5°C"; }},
        {"colour", [](frmMain& m) { m.lTitle[0].ForeColor = 0xC0C0C0; }},
        {"visibility", [](frmMain& m) { m.lHide[0].Visible = false; }},
        {"alignment", [](frmMain& m) { m.lWindS[2].Align = Alignment::Left; }},
        {"place", [](frmMain& m) { m.lTitle[1].Left += 1; }},
        {"new picture", [](frmMain& m) { PicEnsureImage(m.PicMoon); }},
        {"picture pixel", [](frmMain& m) {
             PicEnsureImage(m.PicWind);
             const std::uint64_t before = FaceFingerprint(m);
             std::vector<std::uint32_t> px(40 * 40, kPictureKeyColour);
             px[5] = 0x123456;
             PicSetImage(m.PicWind, 40, 40, px);
             EXPECT_NE(FaceFingerprint(m), before);
         }},
    };
    for (const auto& [what, change] : changes) {
        Face g;
        change(g.main);
        EXPECT_NE(FaceFingerprint(g.main), start) << what;
    }
    // Tooltips and tags are not painted.
    Face g;
    g.main.lTemp[1].ToolTipText = "tip";
    g.main.lDay[2].Tag = "http://example.org/";
    EXPECT_EQ(FaceFingerprint(g.main), start);
}

}  // namespace
