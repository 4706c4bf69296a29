#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "NaivePicScale.h"
#include "satellite/PicScale.h"

namespace {

struct MapRow {
    const char* name;
    int sheetW, sheetH, x, y, cols, rows, index, trim;
    float scale;
    std::optional<PicCopyRects> expected;
};

PicCopyRects Rects(PixelRect s, PixelRect d) { return PicCopyRects{s, d}; }

TEST(PicMapRects, Table) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<MapRow> rows = {
        {"first weather tile", 410, 205, 0, 0, 10, 5, 1, 1, 1.0f,
         Rects({0, 0, 40, 40}, {0, 0, 40, 40})},
        {"index 11 opens row two", 410, 205, 0, 0, 10, 5, 11, 1, 1.0f,
         Rects({0, 41, 40, 40}, {0, 0, 40, 40})},
        {"index 10 ends row one", 410, 205, 0, 0, 10, 5, 10, 1, 1.0f,
         Rects({369, 0, 40, 40}, {0, 0, 40, 40})},
        {"last tile", 410, 205, 0, 0, 10, 5, 50, 1, 1.0f,
         Rects({369, 164, 40, 40}, {0, 0, 40, 40})},
        {"wind north", 320, 80, 0, 0, 8, 2, 9, 1, 1.0f, Rects({0, 40, 39, 39}, {0, 0, 39, 39})},
        {"moon full", 320, 40, 0, 0, 8, 1, 5, 1, 1.0f, Rects({160, 0, 39, 39}, {0, 0, 39, 39})},
        {"offset and scale", 410, 205, 5, 7, 10, 5, 2, 1, 2.0f,
         Rects({41, 0, 40, 40}, {5, 7, 80, 80})},
        {"no trim", 410, 205, 0, 0, 10, 5, 12, 0, 1.0f, Rects({41, 41, 41, 41}, {0, 0, 41, 41})},
        // 100 / 3 = 33.33: tile 2 starts at 33 and is 32.33, so 32, wide after the trim.
        {"fractional cells", 100, 10, 0, 0, 3, 1, 2, 1, 1.0f,
         Rects({33, 0, 32, 9}, {0, 0, 32, 9})},
        {"index 0 draws nothing", 410, 205, 0, 0, 10, 5, 0, 1, 1.0f, std::nullopt},
        {"index past the sheet", 410, 205, 0, 0, 10, 5, 51, 1, 1.0f, std::nullopt},
        {"negative index", 410, 205, 0, 0, 10, 5, -1, 1, 1.0f, std::nullopt},
        {"no columns", 410, 205, 0, 0, 0, 5, 1, 1, 1.0f, std::nullopt},
        {"negative rows", 410, 205, 0, 0, 10, -5, 1, 1, 1.0f, std::nullopt},
        {"empty sheet", 0, 205, 0, 0, 10, 5, 1, 1, 1.0f, std::nullopt},
        {"trim eats the cell", 410, 205, 0, 0, 10, 5, 1, 41, 1.0f, std::nullopt},
        {"negative trim", 410, 205, 0, 0, 10, 5, 1, -1, 1.0f, std::nullopt},
        {"zero scale", 410, 205, 0, 0, 10, 5, 1, 1, 0.0f, std::nullopt},
        {"NaN scale", 410, 205, 0, 0, 10, 5, 1, 1, nan, std::nullopt},
        {"grid overflows int", 410, 205, 0, 0, 65536, 65536, 2, 0, 1.0f, std::nullopt},
        {"destination beyond int", 410, 205, std::numeric_limits<int>::max(), 0, 10, 5, 1, 1,
         1.0f, std::nullopt},
    };
    for (const MapRow& r : rows) {
        EXPECT_EQ(PicMapRects(r.sheetW, r.sheetH, r.x, r.y, r.cols, r.rows, r.index, r.trim,
                              r.scale),
                  r.expected)
            << r.name;
    }
}

struct AspectRow {
    const char* name;
    int sw, sh, tw, th;
    std::optional<PixelRect> dst;
};

TEST(PicAspectRects, Table) {
    const std::vector<AspectRow> rows = {
        // A float ratio makes 640 / (640 / 480) slightly less than 480 and
        // would leave the last row empty.
        {"same shape fills exactly", 640, 480, 640, 480, PixelRect{0, 0, 640, 480}},
        {"4:3 thumbnail", 640, 480, 32, 24, PixelRect{0, 0, 32, 24}},
        {"4:3 in twips", 9600, 7200, 480, 360, PixelRect{0, 0, 480, 360}},
        {"square: equal bands", 640, 480, 40, 40, PixelRect{0, 5, 40, 30}},
        {"satellite box", 640, 480, 32, 40, PixelRect{0, 8, 32, 24}},
        {"wide target fills height", 640, 480, 100, 50, PixelRect{17, 0, 66, 50}},
        {"tall source, square target", 480, 640, 40, 40, PixelRect{5, 0, 30, 40}},
        {"odd band goes below", 640, 480, 40, 41, PixelRect{0, 5, 40, 30}},
        {"empty source", 0, 480, 40, 40, std::nullopt},
        {"empty target", 640, 480, 0, 40, std::nullopt},
        {"negative target", 640, 480, 40, -40, std::nullopt},
        {"sliver rounds to nothing", 1, 100000, 10, 10, std::nullopt},
    };
    for (const AspectRow& r : rows) {
        const auto got = PicAspectRects(r.sw, r.sh, r.tw, r.th);
        ASSERT_EQ(got.has_value(), r.dst.has_value()) << r.name;
        if (!got) continue;
        EXPECT_EQ(got->dst, *r.dst) << r.name;
        EXPECT_EQ(got->src, (PixelRect{0, 0, r.sw, r.sh})) << r.name;
    }
}

// Small deterministic generator so failures reproduce.
struct Lcg {
    std::uint64_t s = 0x2545F4914F6CDD1Dull;
    int Next(int lo, int hi) {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return lo + static_cast<int>((s >> 33) % static_cast<std::uint64_t>(hi - lo + 1));
    }
};

TEST(PicMapRects, MatchesNaiveArithmetic) {
    Lcg rng;
    int drawn = 0;
    for (int n = 0; n < 30000; ++n) {
        const int sw = rng.Next(1, 500), sh = rng.Next(1, 300);
        const int cols = rng.Next(-1, 12), rows = rng.Next(-1, 6);
        const int index = rng.Next(-2, std::max(cols * rows, 0) + 2);
        const int trim = rng.Next(-1, 3), scale = rng.Next(0, 3);
        const int x = rng.Next(-50, 50), y = rng.Next(-50, 50);
        const auto want = naive::PicMapRects(sw, sh, x, y, cols, rows, index, trim, scale);
        const auto got = PicMapRects(sw, sh, x, y, cols, rows, index, trim,
                                     static_cast<float>(scale));
        ASSERT_EQ(got, want) << sw << 'x' << sh << " grid " << cols << 'x' << rows
                             << " index " << index << " trim " << trim << " scale " << scale;
        drawn += got.has_value();
    }
    // The sample must exercise both outcomes to mean anything.
    EXPECT_GT(drawn, 5000);
}

TEST(PicAspectRects, MatchesNaiveArithmetic) {
    Lcg rng;
    for (int n = 0; n < 20000; ++n) {
        const int sw = rng.Next(0, 200), sh = rng.Next(0, 200);
        const int tw = rng.Next(0, 120), th = rng.Next(0, 120);
        ASSERT_EQ(PicAspectRects(sw, sh, tw, th), naive::PicAspectRects(sw, sh, tw, th))
            << sw << 'x' << sh << " into " << tw << 'x' << th;
    }
}

// A sheet whose tile n is filled with colour n and whose separators are grey.
Bitmap NumberedSheet(int cols, int rows, int cell) {
    Bitmap sheet(cols * cell, rows * cell, 0x808080);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            for (int y = 0; y < cell - 1; ++y)
                for (int x = 0; x < cell - 1; ++x)
                    sheet.at(c * cell + x, r * cell + y) = static_cast<std::uint32_t>(r * cols + c + 1);
    return sheet;
}

TEST(PicMap, CopiesTheWholeTileAndNoSeparator) {
    const Bitmap sheet = NumberedSheet(10, 5, 41);
    for (const int index : {1, 10, 11, 37, 50}) {
        Bitmap target(40, 40, 0xABCDEF);
        ASSERT_TRUE(PicMap(sheet, target, 0, 0, 10, 5, index, 1, 1.0f));
        for (const std::uint32_t p : target.pixels) {
            ASSERT_EQ(p, static_cast<std::uint32_t>(index)) << "tile " << index;
        }
    }
}

TEST(PicMap, IndexZeroLeavesTargetUntouched) {
    const Bitmap sheet = NumberedSheet(10, 5, 41);
    Bitmap target(40, 40, 0xABCDEF);
    EXPECT_FALSE(PicMap(sheet, target, 0, 0, 10, 5, 0, 1, 1.0f));
    EXPECT_EQ(target.pixels, std::vector<std::uint32_t>(40 * 40, 0xABCDEF));
}

TEST(PicMap, ScaledTileKeepsOutsideOfDestination) {
    const Bitmap sheet = NumberedSheet(8, 2, 40);
    Bitmap target(100, 100, 0xABCDEF);
    ASSERT_TRUE(PicMap(sheet, target, 10, 20, 8, 2, 9, 1, 2.0f));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool inside = x >= 10 && x < 88 && y >= 20 && y < 98;
            ASSERT_EQ(target.at(x, y), inside ? 9u : 0xABCDEFu) << x << ',' << y;
        }
    }
}

TEST(PicAspectCopy, SquareTargetKeepsBandsAndFillsMiddle) {
    Bitmap source(640, 480, 0x112233);
    // Mark the source's corners so a flipped or shifted copy shows.
    source.at(0, 0) = 0xFF0000;
    source.at(639, 479) = 0x00FF00;
    Bitmap target(40, 40, 0xABCDEF);
    ASSERT_TRUE(PicAspectCopy(source, target, 1.0f));
    for (int y = 0; y < 40; ++y) {
        const bool band = y < 5 || y >= 35;
        EXPECT_EQ(target.at(20, y), band ? 0xABCDEFu : 0x112233u) << y;
    }
    // Each destination pixel samples the middle of its 16 x 16 source block.
    EXPECT_EQ(target.at(0, 5), 0x112233u);
    Bitmap big(1280, 960, 0);
    ASSERT_TRUE(PicAspectCopy(source, big, 1.0f));
    EXPECT_EQ(big.at(0, 0), 0xFF0000u);
    EXPECT_EQ(big.at(1279, 959), 0x00FF00u);
}

}  // namespace
