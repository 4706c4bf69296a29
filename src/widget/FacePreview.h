#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "widget/FaceControls.h"

// Pixels of the face, 0x00RRGGBB, top-down.
struct FacePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The background and the pictures as every front end shows them: the background picture (a
// plain colour without one), each picture box's image over it, the key colour left out.
FacePixels ComposeFacePictures(const std::vector<FaceControl>& controls, int width, int height);

// The face drawn without a window system: the composed pictures and the texts in a small
// built-in pixel font at their places, in their colours and alignments. For previews on Linux
// and for tests that look at where things land; the Win32 face draws the real fonts.
FacePixels RenderFacePreview(const std::vector<FaceControl>& controls, int width, int height);

[[nodiscard]] bool SaveFacePreviewPng(const FacePixels& image, const std::filesystem::path& path);
