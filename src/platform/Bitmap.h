#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// A portable picture: top-down rows of 0x00RRGGBB pixels. It stands in for a
// GDI bitmap wherever the core, the tests or a native preview need pixels.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Bitmap() = default;
    // Negative sizes give an empty bitmap rather than a huge allocation.
    Bitmap(int w, int h, std::uint32_t fill = 0);

    [[nodiscard]] bool empty() const { return width <= 0 || height <= 0; }
    [[nodiscard]] bool contains(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    // Unchecked: callers test contains() first.
    [[nodiscard]] std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    std::uint32_t& at(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// A rectangle in whole pixels; width and height below 1 mean "nothing".
struct PixelRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Nearest-neighbour stretch of rectangle `from` of `src` onto rectangle `to`
// of `dst`, the portable stand-in for StretchBlt with SRCCOPY. Pixels whose
// source or destination lies outside its bitmap are skipped, so any rectangle
// is safe. With a key colour, source pixels of exactly that colour are not
// copied (the transparent colour of the picture sheets). Returns the number
// of destination pixels written.
std::size_t StretchCopy(const Bitmap& src, const PixelRect& from, Bitmap& dst,
                        const PixelRect& to,
                        std::optional<std::uint32_t> key = std::nullopt);
