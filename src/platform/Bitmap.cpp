#include "platform/Bitmap.h"

#include <algorithm>
#include <cstdint>

Bitmap::Bitmap(int w, int h, std::uint32_t fill) {
    if (w > 0 && h > 0) {
        width = w;
        height = h;
        pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill);
    }
}

std::size_t StretchCopy(const Bitmap& src, const PixelRect& from, Bitmap& dst,
                        const PixelRect& to, std::optional<std::uint32_t> key) {
    if (from.w <= 0 || from.h <= 0 || to.w <= 0 || to.h <= 0 || src.empty() ||
        dst.empty()) {
        return 0;
    }
    // 64-bit throughout: rectangles may come from untrusted arithmetic with
    // coordinates near the int limits.
    const std::int64_t x0 = std::max<std::int64_t>(to.x, 0);
    const std::int64_t y0 = std::max<std::int64_t>(to.y, 0);
    const std::int64_t x1 = std::min<std::int64_t>(std::int64_t{to.x} + to.w, dst.width);
    const std::int64_t y1 = std::min<std::int64_t>(std::int64_t{to.y} + to.h, dst.height);
    std::size_t written = 0;
    for (std::int64_t dy = y0; dy < y1; ++dy) {
        // Sample at the centre of the destination pixel.
        const std::int64_t sy =
            from.y + ((2 * (dy - to.y) + 1) * from.h) / (2 * std::int64_t{to.h});
        if (sy < 0 || sy >= src.height) continue;
        for (std::int64_t dx = x0; dx < x1; ++dx) {
            const std::int64_t sx =
                from.x + ((2 * (dx - to.x) + 1) * from.w) / (2 * std::int64_t{to.w});
            if (sx < 0 || sx >= src.width) continue;
            const std::uint32_t p = src.at(static_cast<int>(sx), static_cast<int>(sy));
            if (key && p == *key) continue;
            dst.at(static_cast<int>(dx), static_cast<int>(dy)) = p;
            ++written;
        }
    }
    return written;
}
