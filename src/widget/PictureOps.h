#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "widget/Controls.h"

// Picture operations on the face's picture boxes. They keep the pixel type out of the window
// models, so code that only moves pictures around never needs the bitmap header.

// Clears the box: only its back colour shows.
void PicCls(PictureBox& box);

// Gives the box an image of its own size unless it has one; a new image is all key colour, so
// only what is drawn into it shows.
void PicEnsureImage(PictureBox& box);

// Replaces the box's image with `pixels` (0x00RRGGBB, top-down rows of `width`). Sheets and the
// background keep their own size; false when the sizes do not match the pixel count.
bool PicSetImage(PictureBox& box, int width, int height, std::vector<std::uint32_t> pixels);

// Loads one of the program's own picture files (an uncompressed BMP) as the box's image, for
// hosts that have the pictures as files rather than resources; false when it cannot be read.
bool PicLoadFile(PictureBox& box, const std::filesystem::path& path);

// Tile `index` (from 1, row by row) of the sheet's image drawn into the target's image at (x, y),
// a cell of cols x rows less `trim` pixels at its right and bottom edge, enlarged by `scale`.
// Whatever the target showed outside the tile stays. False when nothing was drawn (index 0, no
// sheet image, or a tile the sheet does not have).
bool PicMap(const PictureBox& sheet, PictureBox& target, int x, int y, int cols, int rows, int index,
            int trim, float scale);

// A read-only look at a box's image; width and height 0 when it has none.
struct PicPixels {
    const std::uint32_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::uint32_t at(int x, int y) const { return data[y * width + x]; }
};
PicPixels PicView(const PictureBox& box);
