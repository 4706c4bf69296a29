#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "satellite/BmpFile.h"
#include "satellite/PicScale.h"

// Checks the committed pictures in res/ against what the widget relies on:
// sizes, tiles that exist, separators and the transparent colour. The PNGs are
// what the program carries; the BMPs are the same pixels for hosts that read
// picture files.
namespace {

constexpr std::uint32_t kKey = kSheetKeyColour;

std::string ResPath(const std::string& name) { return std::string(WG_SOURCE_DIR) + "/res/" + name; }

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned U16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
unsigned U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}
unsigned BigU32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return unsigned{b[at]} << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

// The PNGs as res/tools/pixels.py writes them: 8-bit RGB, not interlaced,
// every row unfiltered. Anything else fails the test that loads it.
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

// A picture by its name in res/ (without extension), from the PNG the program carries.
Bitmap Load(const std::string& name) { return LoadPng(ResPath(name + ".png")); }

struct Sheet {
    const char* file;
    int width, height, cols, rows;
    std::set<int> empty;  // tile numbers with no picture
};

const std::vector<Sheet>& Sheets() {
    static const std::vector<Sheet> sheets = {
        {"weather", 410, 205, 10, 5, {9, 10, 27, 28, 45, 46, 47, 48, 49, 50}},
        {"wind", 320, 80, 8, 2, {}},
        {"moon", 320, 40, 8, 1, {}},
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

// The face and the sheets at their sizes, and each picture file a host may read
// instead of the resources the same pixels, the key colour included.
TEST(Artwork, PicturesHaveTheirSizesAndBmpCopiesTheSamePixels) {
    struct Picture {
        const char* name;
        int width, height;
    };
    for (const Picture& p : {Picture{"background", 388, 213}, Picture{"weather", 410, 205},
                             Picture{"wind", 320, 80}, Picture{"moon", 320, 40}}) {
        const Bitmap png = Load(p.name);
        EXPECT_EQ(png.width, p.width) << p.name;
        EXPECT_EQ(png.height, p.height) << p.name;
        const auto bmp = LoadBmpFile(ResPath(std::string(p.name) + ".bmp"));
        ASSERT_TRUE(bmp.has_value()) << p.name;
        EXPECT_TRUE(bmp->width == png.width && bmp->height == png.height && bmp->pixels == png.pixels)
            << p.name << ".bmp differs from " << p.name << ".png";
    }
}

TEST(Artwork, EveryUsedTileIsDrawnAndUnusedOnesAreEmpty) {
    for (const Sheet& s : Sheets()) {
        const Bitmap sheet = Load(s.file);
        if (sheet.empty()) continue;
        const int area = (s.width / s.cols - 1) * (s.height / s.rows - 1);
        for (int n = 1; n <= s.cols * s.rows; ++n) {
            const int opaque = OpaqueCount(Tile(sheet, s, n));
            if (s.empty.count(n)) {
                EXPECT_EQ(opaque, 0) << s.file << " tile " << n << " should be empty";
            } else {
                // A picture worth the name covers a good part of its box.
                EXPECT_GT(opaque, area / 6) << s.file << " tile " << n;
            }
        }
    }
}

TEST(Artwork, SeparatorsAreTransparent) {
    for (const Sheet& s : Sheets()) {
        const Bitmap b = Load(s.file);
        if (b.empty()) continue;
        const int cw = s.width / s.cols, ch = s.height / s.rows;
        for (int y = 0; y < b.height; ++y) {
            for (int x = 0; x < b.width; ++x) {
                if (x % cw == cw - 1 || y % ch == ch - 1) {
                    ASSERT_EQ(b.at(x, y), kKey) << s.file << " at " << x << ',' << y;
                }
            }
        }
    }
}

TEST(Artwork, NoTwoTilesAreAlike) {
    for (const Sheet& s : Sheets()) {
        const Bitmap sheet = Load(s.file);
        if (sheet.empty()) continue;
        std::set<std::vector<std::uint32_t>> seen;
        for (int n = 1; n <= s.cols * s.rows; ++n) {
            if (s.empty.count(n)) continue;
            EXPECT_TRUE(seen.insert(Tile(sheet, s, n).pixels).second)
                << s.file << " tile " << n << " repeats an earlier tile";
        }
    }
}

// An edge pixel blended towards the key would show as a pink fringe once
// the key is taken out; only the exact key may be magenta-like.
TEST(Artwork, NoPixelIsNearlyTheKeyColour) {
    for (const Sheet& s : Sheets()) {
        const Bitmap b = Load(s.file);
        for (const std::uint32_t p : b.pixels) {
            if (p == kKey) continue;
            const int r = static_cast<int>(p >> 16), g = static_cast<int>(p >> 8 & 0xFF),
                      bl = static_cast<int>(p & 0xFF);
            ASSERT_FALSE(r > 160 && bl > 160 && g < 90)
                << s.file << " has a magenta-like pixel " << std::hex << p;
        }
    }
}

// Labels are light colours without a background of their own: where they
// stand, the face must stay dark.
TEST(Artwork, BackgroundIsDarkWhereLabelsStand) {
    const Bitmap bg = Load("background");
    if (bg.empty()) return;
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
                const int luma = (299 * static_cast<int>(p >> 16) +
                                  587 * static_cast<int>(p >> 8 & 0xFF) +
                                  114 * static_cast<int>(p & 0xFF)) / 1000;
                ASSERT_LT(luma, 110) << a.name << " at " << x << ',' << y;
            }
        }
    }
}

TEST(Artwork, IconAndPointerFiles) {
    struct File {
        const char* name;
        unsigned type;                  // 1 icon, 2 cursor
        std::vector<unsigned> sizes;
        unsigned hotX, hotY;            // cursors only
    };
    const std::vector<File> files = {
        {"wolkenglas.ico", 1, {16, 32, 48}, 0, 0},
        {"hand.cur", 2, {32}, 10, 1},
        {"move.cur", 2, {32}, 16, 16},
    };
    for (const File& f : files) {
        const std::vector<std::uint8_t> b = ReadAll(ResPath(f.name));
        ASSERT_GE(b.size(), 6u) << f.name;
        EXPECT_EQ(U16(b, 0), 0u) << f.name;
        EXPECT_EQ(U16(b, 2), f.type) << f.name;
        ASSERT_EQ(U16(b, 4), f.sizes.size()) << f.name;
        ASSERT_GE(b.size(), 6 + 16 * f.sizes.size()) << f.name;
        for (std::size_t i = 0; i < f.sizes.size(); ++i) {
            const std::size_t e = 6 + 16 * i;
            const unsigned size = f.sizes[i];
            EXPECT_EQ(b[e], size % 256) << f.name;
            EXPECT_EQ(b[e + 1], size % 256) << f.name;
            if (f.type == 2) {
                EXPECT_EQ(U16(b, e + 4), f.hotX) << f.name;
                EXPECT_EQ(U16(b, e + 6), f.hotY) << f.name;
            }
            const unsigned bytes = U32(b, e + 8), offset = U32(b, e + 12);
            ASSERT_LE(std::size_t{offset} + bytes, b.size()) << f.name;
            // 32-bit colour rows plus the 1-bit mask, after the info header
            // whose height counts both.
            EXPECT_EQ(U32(b, offset + 4), size) << f.name;
            EXPECT_EQ(U32(b, offset + 8), 2 * size) << f.name;
            EXPECT_EQ(U16(b, offset + 14), 32u) << f.name;
            EXPECT_EQ(bytes, 40 + size * size * 4 + size * ((size + 31) / 32 * 4)) << f.name;
        }
    }
}

}  // namespace
