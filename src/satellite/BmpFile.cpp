#include "satellite/BmpFile.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// Guards the allocation against headers that claim absurd sizes.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

}  // namespace

std::optional<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 40 || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    const std::uint32_t dataOffset = U32(bytes, 10);
    const std::uint32_t infoSize = U32(bytes, 14);
    // BITMAPINFOHEADER and its later versions; the old 12-byte core header
    // has 16-bit sizes and is not something we write.
    if (infoSize < 40 || infoSize > bytes.size() - kFileHeader) return std::nullopt;

    const auto width = static_cast<std::int32_t>(U32(bytes, 18));
    const auto rawHeight = static_cast<std::int32_t>(U32(bytes, 22));
    const std::uint32_t planes = U16(bytes, 26);
    const std::uint32_t bpp = U16(bytes, 28);
    const std::uint32_t compression = U32(bytes, 30);

    if (planes != 1 || (bpp != 24 && bpp != 32)) return std::nullopt;
    if (compression == kBiBitfields) {
        // Masks follow a 40-byte header or sit inside the larger ones.
        if (bpp != 32 || bytes.size() < kFileHeader + 40 + 12) return std::nullopt;
        if (U32(bytes, 54) != 0x00FF0000u || U32(bytes, 58) != 0x0000FF00u ||
            U32(bytes, 62) != 0x000000FFu) {
            return std::nullopt;
        }
    } else if (compression != kBiRgb) {
        return std::nullopt;
    }

    const std::int64_t w = width;
    const std::int64_t h = rawHeight < 0 ? -std::int64_t{rawHeight} : rawHeight;
    const bool topDown = rawHeight < 0;
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return std::nullopt;

    const std::int64_t stride = (w * bpp + 31) / 32 * 4;
    if (dataOffset < kFileHeader + infoSize ||
        std::int64_t{dataOffset} + stride * h > static_cast<std::int64_t>(bytes.size())) {
        return std::nullopt;
    }

    Bitmap out(static_cast<int>(w), static_cast<int>(h));
    const std::int64_t step = bpp / 8;
    for (std::int64_t row = 0; row < h; ++row) {
        const std::int64_t y = topDown ? row : h - 1 - row;
        const std::size_t base = static_cast<std::size_t>(dataOffset + row * stride);
        for (std::int64_t x = 0; x < w; ++x) {
            const std::size_t p = base + static_cast<std::size_t>(x * step);
            out.at(static_cast<int>(x), static_cast<int>(y)) =
                (static_cast<std::uint32_t>(bytes[p + 2]) << 16) |
                (static_cast<std::uint32_t>(bytes[p + 1]) << 8) | bytes[p];
        }
    }
    return out;
}

std::optional<Bitmap> LoadBmpFile(const std::filesystem::path& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    return DecodeBmp(bytes);
}
