#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "satellite/BmpFile.h"
#include "satellite/PicScale.h"

// Checks the committed pictures in res/ against what the widget relies on:
// sizes, tiles that exist, separators and the transparent colour. The PNGs are what the program
// carries; the BMPs are the same pixels for hosts that read picture files.
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

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned BigU32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return unsigned{b[at]} << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

// The PNGs as res/tools/pixels.py writes them: 8-bit RGB, not interlaced, every row unfiltered.
// Anything else fails the test that loads it.
Bitmap LoadPng(const std::string& path) {
    const std::vector<std::uint8_t> b = ReadAll(path);
    int width = 0, height = 0;
    std::vector<std::uint8_t> idat;
    for (std::size_t at = 8; at + 12 <= b.size();) {
        const std::size_t length = BigU32(b, at);
        const std::string kind(b.begin() + at + 4, b.begin() + at + 8);
        if (at + 12 + length > b.size()) break;
        if (kind == "IHDR") {
            width = static_cast<int>(BigU32(b, at + 8));
            height = static_cast<int>(BigU32(b, at + 12));
            EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + at + 16, b.begin() + at + 21),
                      (std::vector<std::uint8_t>{8, 2, 0, 0, 0})) << path;
        }
        if (kind == "IDAT") idat.insert(idat.end(), b.begin() + at + 8, b.begin() + at + 8 + length);
        at += 12 + length;
    }
    const std::size_t stride = 1 + 3 * static_cast<std::size_t>(std::max(width, 0));
    std::vector<std::uint8_t> raw(stride * std::max(height, 0));
    uLongf rawSize = raw.size();
    if (raw.empty() || uncompress(raw.data(), &rawSize, idat.data(), idat.size()) != Z_OK || rawSize != raw.size()) {
        ADD_FAILURE() << path << " does not inflate to " << width << " x " << height << " pixels";
        return {};
    }
    Bitmap out(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = raw.data() + y * stride;
        EXPECT_EQ(row[0], 0) << path << " row " << y << " is filtered";
        for (int x = 0; x < width; ++x)
            out.at(x, y) = std::uint32_t{row[1 + 3 * x]} << 16 | row[2 + 3 * x] << 8 | row[3 + 3 * x];
    }
    return out;
}

// The program carries the PNGs; the BMP copies must hold the same pixels, the key colour included.
TEST(Artwork, PngResourcesAndBmpCopiesHoldTheSamePixels) {
    for (const char* name : {"background", "weather", "wind", "moon"}) {
        const Bitmap png = LoadPng(ResPath((std::string(name) + ".png").c_str()));
        const Bitmap bmp = Load((std::string(name) + ".bmp").c_str());
        EXPECT_FALSE(png.empty()) << name;
        EXPECT_TRUE(bmp.width == png.width && bmp.height == png.height && bmp.pixels == png.pixels)
            << name << ".bmp differs from " << name << ".png";
    }
}
