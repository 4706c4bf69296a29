#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

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

}  // namespace
