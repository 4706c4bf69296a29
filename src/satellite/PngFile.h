#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/Bitmap.h"

// A minimal PNG writer for previews and test output: 8-bit RGB, no filter,
// zlib stream of stored (uncompressed) blocks. Not a general encoder.
std::vector<std::uint8_t> EncodePng(const Bitmap& bitmap);

[[nodiscard]] bool SavePngFile(const Bitmap& bitmap, const std::filesystem::path& path);
