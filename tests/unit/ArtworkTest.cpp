#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "satellite/BmpFile.h"
#include "satellite/PicScale.h"

// Checks the committed pictures in res/ against what the widget relies on:
// sizes, tiles that exist, separators and the transparent colour. The generator writes the PNGs
// that the program carries and these BMPs from the same pixels.
namespace {

constexpr std::uint32_t kKey = kSheetKeyColour;

std::string ResPath(const char* name) { return std::string(WG_SOURCE_DIR) + "/res/" + name; }

Bitmap Load(const char* name) {
    auto b = LoadBmpFile(ResPath(name));
    EXPECT_TRUE(b.has_value()) << name;
    return b ? *b : Bitmap{};
}

struct Sheet {
    const char* file;
    int width, height, cols, rows;
    std::set<int> empty;  // tile numbers with no picture
};

const std::vector<Sheet>& Sheets() {
    static const std::vector<Sheet> sheets = {
        {"weather.bmp", 410, 205, 10, 5, {9, 10, 27, 28, 45, 46, 47, 48, 49, 50}},
        {"wind.bmp", 320, 80, 8, 2, {}},
        {"moon.bmp", 320, 40, 8, 1, {}},
    };
    return sheets;
}

// The tile as PicMap cuts it for the widget (trim 1).
Bitmap Tile(const Bitmap& sheet, const Sheet& s, int index) {
    const int cw = s.width / s.cols, ch = s.height / s.rows;
    Bitmap out(cw - 1, ch - 1, 0x000001);
    EXPECT_TRUE(PicMap(sheet, out, 0, 0, s.cols, s.rows, index, 1, 1.0f)) << s.file << ' ' << index;
    return out;
}

int OpaqueCount(const Bitmap& b) {
    int n = 0;
    for (const std::uint32_t p : b.pixels) n += p != kKey;
    return n;
}

TEST(Artwork, SheetsHoldDistinctTilesOnTransparentSeparators) {
    for (const Sheet& s : Sheets()) {
        const Bitmap sheet = Load(s.file);
        ASSERT_EQ(sheet.width, s.width) << s.file;
        ASSERT_EQ(sheet.height, s.height) << s.file;
        const int cw = s.width / s.cols, ch = s.height / s.rows;
        for (int y = 0; y < sheet.height; ++y)
            for (int x = 0; x < sheet.width; ++x) {
                const std::uint32_t p = sheet.at(x, y);
                const bool separator = x % cw == cw - 1 || y % ch == ch - 1;
                ASSERT_TRUE(!separator || p == kKey) << s.file << " separator at " << x << ',' << y;
                // An edge pixel blended towards the key would show as a pink fringe once the key
                // is taken out; only the exact key may be magenta-like.
                const bool magentaLike = (p >> 16) > 160 && (p & 0xFF) > 160 && (p >> 8 & 0xFF) < 90;
                ASSERT_TRUE(p == kKey || !magentaLike) << s.file << " has a magenta-like pixel " << std::hex << p;
            }
        std::set<std::vector<std::uint32_t>> seen;
        for (int n = 1; n <= s.cols * s.rows; ++n) {
            const Bitmap tile = Tile(sheet, s, n);
            if (s.empty.count(n)) {
                EXPECT_EQ(OpaqueCount(tile), 0) << s.file << " tile " << n << " should be empty";
                continue;
            }
            // A picture worth the name covers a good part of its box, and no tile repeats another.
            EXPECT_GT(OpaqueCount(tile), (cw - 1) * (ch - 1) / 6) << s.file << " tile " << n;
            EXPECT_TRUE(seen.insert(tile.pixels).second) << s.file << " tile " << n << " repeats an earlier tile";
        }
    }
}

// Labels are light colours without a background of their own: where they stand, the face must
// stay dark.
TEST(Artwork, BackgroundHasTheFaceSizeAndIsDarkWhereLabelsStand) {
    const Bitmap bg = Load("background.bmp");
    ASSERT_EQ(bg.width, 388);
    ASSERT_EQ(bg.height, 213);
    struct Area {
        const char* name;
        int x, y, w, h;
    };
    const std::vector<Area> areas = {
        {"title line", 5, 2, 357, 13},
        {"now: headings", 6, 21, 81, 29},
        {"now: values", 6, 136, 80, 72},
        {"forecast: headings", 92, 21, 291, 29},
        {"forecast: values", 92, 136, 291, 72},
    };
    for (const Area& a : areas) {
        for (int y = a.y; y < a.y + a.h; ++y) {
            for (int x = a.x; x < a.x + a.w; ++x) {
                const std::uint32_t p = bg.at(x, y);
                const int luma = (299 * static_cast<int>(p >> 16) + 587 * static_cast<int>(p >> 8 & 0xFF) +
                                  114 * static_cast<int>(p & 0xFF)) / 1000;
                ASSERT_LT(luma, 110) << a.name << " at " << x << ',' << y;
            }
        }
    }
}

}  // namespace
