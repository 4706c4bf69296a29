#pragma once
#include <cstddef>
#include <optional>

#include "platform/Bitmap.h"

// Pictures decoded by the Windows Imaging Component (PNG, JPEG, GIF, BMP, ...) into portable
// bitmaps of 0x00RRGGBB pixels; alpha is dropped. Fit for untrusted data: the system's codec reads
// it, and a picture of more than kMaxDecodedPixels is refused before its pixels are allocated.
// The calling thread needs COM (a ComApartment from Com.h); without it, for damaged data or an
// unknown format the result is nothing.
inline constexpr std::size_t kMaxDecodedPixels = std::size_t{1} << 24;  // 4096 x 4096

std::optional<Bitmap> DecodePicture(const void* data, std::size_t size) noexcept;
std::optional<Bitmap> DecodePictureFile(const wchar_t* path) noexcept;
