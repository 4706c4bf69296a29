#include "tray/mPicIcon.h"

IconImage PicToIcon(const Bitmap& picture, std::uint32_t keyColour) {
    IconImage icon;
    if (picture.empty()) return icon;
    icon.width = picture.width;
    icon.height = picture.height;
    icon.colour.reserve(picture.pixels.size());
    icon.mask.reserve(picture.pixels.size());
    for (const std::uint32_t p : picture.pixels) {
        const bool transparent = (p & 0xFFFFFF) == keyColour;
        icon.mask.push_back(transparent);
        icon.colour.push_back(transparent ? 0 : p & 0xFFFFFF);
    }
    return icon;
}
