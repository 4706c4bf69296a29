#pragma once
#include "platform/PictureDecoder.h"

// Pictures from the network decoded by the system's libjpeg. Anything libjpeg reports, a
// warning about damaged or missing data included, gives nothing rather than a patched picture.
class JpegPictureDecoder : public PictureDecoder {
public:
    std::optional<Bitmap> LoadPicture(std::string_view path) override;
    std::optional<Bitmap> DecodeBytes(const std::vector<std::uint8_t>& bytes) override;
};
