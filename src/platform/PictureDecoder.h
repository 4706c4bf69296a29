#pragma once
#include <optional>
#include <string_view>

#include "platform/Bitmap.h"

// Decodes a picture file (JPEG from the network: untrusted) with the platform's own codec.
class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    // Nothing when the file is missing, not a picture, or damaged.
    virtual std::optional<Bitmap> LoadPicture(std::string_view path) = 0;
};
