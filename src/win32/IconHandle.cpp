#include "win32/IconHandle.h"

#include <vector>

unique_hicon MakeIcon(const IconImage& image) noexcept {
    const int w = image.width, h = image.height;
    const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    if (image.empty() || image.colour.size() != count || image.mask.size() != count) return {};
    try {
        // Colour: a top-down 32-bit DIB, alpha 0 where the mask is transparent.
        BITMAPV5HEADER header{};
        header.bV5Size = sizeof header;
        header.bV5Width = w;
        header.bV5Height = -h;
        header.bV5Planes = 1;
        header.bV5BitCount = 32;
        header.bV5Compression = BI_BITFIELDS;
        header.bV5RedMask = 0x00FF0000;
        header.bV5GreenMask = 0x0000FF00;
        header.bV5BlueMask = 0x000000FF;
        header.bV5AlphaMask = 0xFF000000;
        void* bits = nullptr;
        unique_hbitmap colour(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!colour || !bits) return {};
        auto* pixels = static_cast<std::uint32_t*>(bits);
        for (std::size_t i = 0; i < count; ++i)
            pixels[i] = image.mask[i] ? 0u : (image.colour[i] & 0xFFFFFF) | 0xFF000000u;

        // Mask: one bit per pixel, 1 = transparent, rows padded to 16 bits.
        const int stride = (w + 15) / 16 * 2;
        std::vector<BYTE> maskBits(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h), 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (image.mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)])
                    maskBits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
        unique_hbitmap mask(CreateBitmap(w, h, 1, 1, maskBits.data()));
        if (!mask) return {};

        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmMask = mask.get();
        info.hbmColor = colour.get();
        return unique_hicon(CreateIconIndirect(&info));  // it copies both bitmaps
    } catch (...) {
        return {};
    }
}
