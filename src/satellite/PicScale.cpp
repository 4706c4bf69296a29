#include "satellite/PicScale.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Nearest pixel, halves upwards; values beyond int are refused.
bool Snap(double v, int& out) {
    const double r = std::floor(v + 0.5);
    if (!(r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max())) {
        return false;
    }
    out = static_cast<int>(r);
    return true;
}

// Position and size are rounded each on its own, so a tile copied at scale 1
// keeps its size exactly and is never stretched by a pixel.
bool SnapRect(double left, double top, double width, double height, PixelRect& out) {
    int l = 0, t = 0, w = 0, h = 0;
    if (!Snap(left, l) || !Snap(top, t) || !Snap(width, w) || !Snap(height, h) || w <= 0 ||
        h <= 0 || std::int64_t{l} + w > std::numeric_limits<int>::max() ||
        std::int64_t{t} + h > std::numeric_limits<int>::max()) {
        return false;
    }
    out = PixelRect{l, t, w, h};
    return true;
}

}  // namespace

std::optional<PicCopyRects> PicMapRects(int sheetWidth, int sheetHeight, int x, int y,
                                        int cols, int rows, int index, int trim,
                                        float scale) {
    if (index <= 0 || cols <= 0 || rows <= 0 || sheetWidth <= 0 || sheetHeight <= 0 ||
        trim < 0 || !(scale > 0.0f) || !std::isfinite(scale)) {
        return std::nullopt;
    }
    if (std::int64_t{index} > std::int64_t{cols} * rows) return std::nullopt;

    const int i = index - 1;
    // cw = width / cols, and the tile is cw - trim wide. Each quantity is
    // formed as one whole-number numerator over cols (rows) so that a true
    // half, such as (38 / 12 - 2) x 3 = 3.5, is not lost to binary fractions
    // before rounding.
    const double wNum = static_cast<double>(sheetWidth) - static_cast<double>(trim) * cols;
    const double hNum = static_cast<double>(sheetHeight) - static_cast<double>(trim) * rows;
    if (wNum <= 0.0 || hNum <= 0.0) return std::nullopt;

    PicCopyRects r;
    if (!SnapRect(static_cast<double>(i % cols) * sheetWidth / cols,
                  static_cast<double>(i / cols) * sheetHeight / rows, wNum / cols,
                  hNum / rows, r.src) ||
        !SnapRect(x, y, wNum * scale / cols, hNum * scale / rows, r.dst)) {
        return std::nullopt;
    }
    return r;
}

std::optional<PicCopyRects> PicAspectRects(int sourceWidth, int sourceHeight,
                                           int targetWidth, int targetHeight) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) {
        return std::nullopt;
    }
    const std::int64_t sw = sourceWidth, sh = sourceHeight;
    const std::int64_t tw = targetWidth, th = targetHeight;
    // Whole part of tw / (sw / sh) and of th * (sw / sh), without the float
    // ratio that makes 480 / (640 / 480) come out as 359.99...
    const std::int64_t h = tw * sh / sw;
    const std::int64_t w2 = th * sw / sh;
    std::int64_t dw = 0, dh = 0;
    if (h <= th) {
        dw = tw;
        dh = h;
    } else {
        dw = w2;
        dh = th;
    }
    // A source far wider or taller than the target can round to nothing.
    if (dw <= 0 || dh <= 0) return std::nullopt;
    PicCopyRects r;
    r.src = PixelRect{0, 0, sourceWidth, sourceHeight};
    r.dst = PixelRect{static_cast<int>((tw - dw) / 2), static_cast<int>((th - dh) / 2),
                      static_cast<int>(dw), static_cast<int>(dh)};
    return r;
}

bool PicMap(const Bitmap& sheet, Bitmap& target, int x, int y, int cols, int rows,
            int index, int trim, float scale) {
    const auto r =
        PicMapRects(sheet.width, sheet.height, x, y, cols, rows, index, trim, scale);
    if (!r) return false;
    return StretchCopy(sheet, r->src, target, r->dst) > 0;
}

bool PicAspectCopy(const Bitmap& source, Bitmap& target, [[maybe_unused]] float factor) {
    const auto r = PicAspectRects(source.width, source.height, target.width, target.height);
    if (!r) return false;
    return StretchCopy(source, r->src, target, r->dst) > 0;
}
