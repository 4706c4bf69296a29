// Picture operations on the face's picture boxes.
#include <gtest/gtest.h>

#include <vector>

#include "widget/PictureOps.h"

namespace {

// A sheet of cols x rows cells of `cell` pixels; every cell is filled with its own colour (tile
// number n as 0x0000nn) except its last column and row, which are separator grey.
PictureBox Sheet(int cols, int rows, int cell) {
    PictureBox sheet;
    sheet.exists = true;
    sheet.Width = cols * cell;
    sheet.Height = rows * cell;
    std::vector<std::uint32_t> px(static_cast<std::size_t>(sheet.Width) * sheet.Height);
    for (int y = 0; y < sheet.Height; ++y)
        for (int x = 0; x < sheet.Width; ++x) {
            const bool separator = x % cell == cell - 1 || y % cell == cell - 1;
            const int tile = (y / cell) * cols + x / cell + 1;
            px[static_cast<std::size_t>(y) * sheet.Width + x] = separator ? 0x808080u : static_cast<std::uint32_t>(tile);
        }
    EXPECT_TRUE(PicSetImage(sheet, sheet.Width, sheet.Height, px));
    return sheet;
}

PictureBox Target(int w = 40, int h = 40) {
    PictureBox box;
    box.exists = true;
    box.Width = w;
    box.Height = h;
    return box;
}

TEST(PictureOps, TileOfASheetFillsTheBoxWithoutSeparators) {
    const PictureBox weather = Sheet(10, 5, 41);
    for (const int index : {1, 44}) {  // which tile is where: the PicMapRects table
        PictureBox box = Target();
        ASSERT_TRUE(PicMap(weather, box, 0, 0, 10, 5, index, 1, 1.0f)) << index;
        const PicPixels px = PicView(box);
        ASSERT_EQ(px.width, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) ASSERT_EQ(px.at(x, y), static_cast<std::uint32_t>(index)) << index << " at " << x << "," << y;
    }
    // A smaller tile (wind: 39 pixels after the separator) leaves the rest of the box unpainted.
    const PictureBox wind = Sheet(8, 2, 40);
    PictureBox box = Target();
    ASSERT_TRUE(PicMap(wind, box, 0, 0, 8, 2, 9, 1, 1.0f));
    const PicPixels px = PicView(box);
    EXPECT_EQ(px.at(0, 0), 9u);
    EXPECT_EQ(px.at(38, 38), 9u);
    EXPECT_EQ(px.at(39, 10), kPictureKeyColour);
    EXPECT_EQ(px.at(10, 39), kPictureKeyColour);
}

TEST(PictureOps, NothingDrawnOrLoadedLeavesTheBoxAsItWas) {
    const PictureBox weather = Sheet(10, 5, 41);
    PictureBox empty;
    empty.Width = 410;
    empty.Height = 205;  // a sheet whose picture never loaded
    PictureBox box = Target();  // (tiles that do not exist: the PicMapRects table)
    EXPECT_FALSE(PicMap(empty, box, 0, 0, 10, 5, 1, 1, 1.0f));
    EXPECT_EQ(PicView(box).data, nullptr);
    PictureBox missing = Target();
    EXPECT_FALSE(PicLoadFile(missing, "/nonexistent/wolkenglas/background.bmp"));
    EXPECT_EQ(PicView(missing).data, nullptr);
    // A drawn picture stays when the next tile names nothing.
    ASSERT_TRUE(PicMap(weather, box, 0, 0, 10, 5, 7, 1, 1.0f));
    EXPECT_FALSE(PicMap(weather, box, 0, 0, 10, 5, 0, 1, 1.0f));
    EXPECT_EQ(PicView(box).at(20, 20), 7u);
}

TEST(PictureOps, ClearAndSetImage) {
    PictureBox box = Target(3, 2);
    PicEnsureImage(box);
    ASSERT_NE(PicView(box).data, nullptr);
    EXPECT_EQ(PicView(box).at(2, 1), kPictureKeyColour);
    PicCls(box);
    EXPECT_EQ(PicView(box).data, nullptr);

    struct Row {
        int w, h;
        std::size_t count;
        bool ok;
    };
    for (const Row r : {Row{3, 2, 6, true}, Row{3, 2, 5, false}, Row{0, 2, 0, false}, Row{-3, -2, 6, false},
                        Row{2, 3, 6, true}}) {
        PictureBox b = Target(3, 2);
        EXPECT_EQ(PicSetImage(b, r.w, r.h, std::vector<std::uint32_t>(r.count, 0x112233)), r.ok)
            << r.w << "x" << r.h << " / " << r.count;
        EXPECT_EQ(PicView(b).data != nullptr, r.ok);
    }
}

}  // namespace
