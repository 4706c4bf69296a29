#pragma once
#include <cstdint>

#include "platform/Bitmap.h"
#include "platform/TrayPort.h"

// An icon from a picture: pixels of exactly the key colour (0x00RRGGBB) are transparent and
// black in the colour part, all others opaque with their colour. An empty picture gives an
// empty icon.
IconImage PicToIcon(const Bitmap& picture, std::uint32_t keyColour);
