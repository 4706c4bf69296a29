#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "satellite/BmpFile.h"

namespace {

std::uint32_t Pattern(int x, int y) {
    return (static_cast<std::uint32_t>(x * 37 + 11) & 0xFF) << 16 |
           (static_cast<std::uint32_t>(y * 53 + 7) & 0xFF) << 8 |
           static_cast<std::uint32_t>((x ^ y) * 29 & 0xFF);
}

Bitmap Patterned(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.at(x, y) = Pattern(x, y);
    return b;
}

TEST(StretchCopy, DoublingRepeatsEachPixel) {
    const Bitmap src = Patterned(5, 3);
    Bitmap dst(10, 6);
    EXPECT_EQ(StretchCopy(src, {0, 0, 5, 3}, dst, {0, 0, 10, 6}), 60u);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(dst.at(x, y), Pattern(x / 2, y / 2));
}

TEST(StretchCopy, RectanglesOutsideEitherBitmapAreClipped) {
    const Bitmap src = Patterned(8, 8);
    struct Row {
        const char* name;
        PixelRect from, to;
        std::size_t written;
    };
    const int big = std::numeric_limits<int>::max();
    const std::vector<Row> rows = {
        {"destination hangs off the top left", {0, 0, 8, 8}, {-4, -4, 8, 8}, 16},
        {"destination hangs off the bottom right", {0, 0, 8, 8}, {6, 6, 8, 8}, 4},
        {"source partly outside", {4, 4, 8, 8}, {0, 0, 8, 8}, 16},
        {"source wholly outside", {100, 100, 8, 8}, {0, 0, 8, 8}, 0},
        {"coordinates near the int limit", {0, 0, 8, 8}, {big - 2, big - 2, big, big}, 0},
        {"negative source origin", {-big, -big, 8, 8}, {0, 0, 8, 8}, 0},
        {"empty source rectangle", {0, 0, 0, 8}, {0, 0, 8, 8}, 0},
        {"negative destination size", {0, 0, 8, 8}, {0, 0, -8, 8}, 0},
    };
    for (const Row& r : rows) {
        Bitmap dst(8, 8, 0x123456);
        EXPECT_EQ(StretchCopy(src, r.from, dst, r.to), r.written) << r.name;
    }
}

// --- BMP reading -----------------------------------------------------------

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// Writes a BMP the long way, independent of the reader.
std::vector<std::uint8_t> MakeBmp(const Bitmap& pic, int bpp, bool topDown,
                                  std::uint32_t infoSize = 40, bool bitfields = false) {
    const std::size_t stride = (static_cast<std::size_t>(pic.width) * bpp / 8 + 3) / 4 * 4;
    const std::size_t masks = (bitfields && infoSize == 40) ? 12 : 0;
    const std::size_t offset = 14 + infoSize + masks;
    std::vector<std::uint8_t> b(offset + stride * pic.height, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, static_cast<std::uint32_t>(offset));
    Put32(b, 14, infoSize);
    Put32(b, 18, static_cast<std::uint32_t>(pic.width));
    Put32(b, 22, static_cast<std::uint32_t>(topDown ? -pic.height : pic.height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint32_t>(bpp));
    Put32(b, 30, bitfields ? 3 : 0);
    if (bitfields) {
        Put32(b, 54, 0x00FF0000);
        Put32(b, 58, 0x0000FF00);
        Put32(b, 62, 0x000000FF);
    }
    for (int y = 0; y < pic.height; ++y) {
        const int fileRow = topDown ? y : pic.height - 1 - y;
        for (int x = 0; x < pic.width; ++x) {
            const std::size_t p = offset + fileRow * stride + static_cast<std::size_t>(x) * bpp / 8;
            const std::uint32_t c = pic.at(x, y);
            b[p] = static_cast<std::uint8_t>(c);
            b[p + 1] = static_cast<std::uint8_t>(c >> 8);
            b[p + 2] = static_cast<std::uint8_t>(c >> 16);
            if (bpp == 32) b[p + 3] = 0xFF;  // alpha or padding: must be ignored
        }
    }
    return b;
}

TEST(DecodeBmp, ReadsTheLayoutsWeWrite) {
    // Width 3 makes 24-bit rows need a padding byte.
    const Bitmap pic = Patterned(3, 4);
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Row> rows = {
        {"24-bit bottom-up", MakeBmp(pic, 24, false)},
        {"24-bit top-down", MakeBmp(pic, 24, true)},
        {"32-bit bottom-up", MakeBmp(pic, 32, false)},
        {"32-bit with bit fields", MakeBmp(pic, 32, false, 40, true)},
        {"32-bit, V5 header with bit fields", MakeBmp(pic, 32, false, 124, true)},
        {"24-bit, V4 header", MakeBmp(pic, 24, true, 108)},
    };
    for (const Row& r : rows) {
        const auto got = DecodeBmp(r.bytes);
        ASSERT_TRUE(got.has_value()) << r.name;
        EXPECT_EQ(got->width, 3) << r.name;
        EXPECT_EQ(got->height, 4) << r.name;
        EXPECT_EQ(got->pixels, pic.pixels) << r.name;
    }
}

}  // namespace
