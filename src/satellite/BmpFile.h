#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "platform/Bitmap.h"

// Reads the program's own picture files: uncompressed 24- or 32-bit Windows
// bitmaps, bottom-up or top-down (32-bit also with the plain BGRX bit fields
// that image tools write). Anything else, and any file whose sizes do not
// add up, gives nullopt; the reader never looks past the bytes it was given.
std::optional<Bitmap> DecodeBmp(std::span<const std::uint8_t> bytes);

// Files above 64 MiB are refused unread: no picture of ours comes near it.
std::optional<Bitmap> LoadBmpFile(const std::filesystem::path& path);
