#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"

// Decodes a picture file (JPEG from the network: untrusted) with the platform's own codec.
class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    // Nothing when the file is missing, not a picture, or damaged.
    virtual std::optional<Bitmap> LoadPicture(std::string_view path) = 0;
    // The same for a picture already in memory.
    virtual std::optional<Bitmap> DecodeBytes(const std::vector<std::uint8_t>& bytes) = 0;
};
