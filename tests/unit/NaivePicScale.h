#pragma once
// Slow, long-hand versions of the picture-copy arithmetic for differential
// tests: integers and rationals only, tiles found by counting, sizes found by
// searching, so they share no formula with the code under test.
#include <cstdint>
#include <optional>

#include "satellite/PicScale.h"

namespace naive {

// Nearest integer of p / q for q > 0, halves upwards.
inline std::int64_t RoundRational(std::int64_t p, std::int64_t q) {
    std::int64_t n = 2 * p + q;
    std::int64_t d = 2 * q;
    std::int64_t r = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) --r;  // floor for negatives
    return r;
}

// Integer scale only, so the whole computation stays exact.
inline std::optional<PicCopyRects> PicMapRects(int sw, int sh, int x, int y, int cols,
                                               int rows, int index, int trim,
                                               int scale) {
    if (index == 0 || cols < 1 || rows < 1 || sw < 1 || sh < 1 || trim < 0 || scale < 1) {
        return std::nullopt;
    }
    int col = 0, row = 0, count = 1;
    while (count < index) {
        ++count;
        if (++col == cols) {
            col = 0;
            ++row;
        }
    }
    if (index < 0 || row >= rows) return std::nullopt;
    // Positions and sizes as fractions over cols (or rows).
    const std::int64_t wN = std::int64_t{sw} - std::int64_t{trim} * cols;
    const std::int64_t hN = std::int64_t{sh} - std::int64_t{trim} * rows;
    if (wN <= 0 || hN <= 0) return std::nullopt;
    const std::int64_t l = RoundRational(std::int64_t{col} * sw, cols);
    const std::int64_t t = RoundRational(std::int64_t{row} * sh, rows);
    const std::int64_t w = RoundRational(wN, cols), h = RoundRational(hN, rows);
    const std::int64_t dw = RoundRational(wN * scale, cols);
    const std::int64_t dh = RoundRational(hN * scale, rows);
    if (w < 1 || h < 1 || dw < 1 || dh < 1) return std::nullopt;
    if (std::int64_t{x} + dw > INT32_MAX || std::int64_t{y} + dh > INT32_MAX) return std::nullopt;
    PicCopyRects r;
    r.src = PixelRect{int(l), int(t), int(w), int(h)};
    r.dst = PixelRect{x, y, int(dw), int(dh)};
    return r;
}

inline std::optional<PicCopyRects> PicAspectRects(int sw, int sh, int tw, int th) {
    if (sw < 1 || sh < 1 || tw < 1 || th < 1) return std::nullopt;
    // Largest h with h / tw <= sh / sw, and largest w with w / th <= sw / sh.
    std::int64_t h = 0;
    while ((h + 1) * sw <= std::int64_t{tw} * sh) ++h;
    std::int64_t w = 0;
    while ((w + 1) * sh <= std::int64_t{th} * sw) ++w;
    std::int64_t dw = tw, dh = h;
    if (h > th) {
        dw = w;
        dh = th;
    }
    if (dw < 1 || dh < 1) return std::nullopt;
    std::int64_t left = 0;
    while (2 * (left + 1) <= tw - dw) ++left;
    std::int64_t top = 0;
    while (2 * (top + 1) <= th - dh) ++top;
    return PicCopyRects{PixelRect{0, 0, sw, sh}, PixelRect{int(left), int(top), int(dw), int(dh)}};
}

}  // namespace naive
