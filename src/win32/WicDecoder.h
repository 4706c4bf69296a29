#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "platform/Bitmap.h"

// Decodes a picture (JPEG, PNG, BMP, ...) with the Windows Imaging Component into 0x00RRGGBB
// pixels. Nothing for data that is no picture, damaged, or larger than 8192 x 8192. COM is
// initialised for the calling thread when it is not yet.
std::optional<Bitmap> DecodePicture(const void* data, std::size_t size);
std::optional<Bitmap> DecodePictureFile(const std::wstring& path);
