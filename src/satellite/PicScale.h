#pragma once
#include <cstdint>
#include <optional>

#include "platform/Bitmap.h"

// The two picture copies of the widget: a tile cut from a picture sheet
// (PicMap) and a whole picture fitted into a box without distortion
// (PicAspectCopy). The rectangle arithmetic is kept apart from the pixels so
// the Win32 layer can hand the same rectangles to StretchBlt.

// The picture sheets' empty area and separators (0x00RRGGBB): magenta, the
// tray icon's transparent colour too, so tiles can be drawn keyed on it.
inline constexpr std::uint32_t kSheetKeyColour = 0xFF00FF;

struct PicCopyRects {
    PixelRect src;
    PixelRect dst;
    friend bool operator==(const PicCopyRects&, const PicCopyRects&) = default;
};

// Tile `index` (from 1, row by row from the top-left) of a sheet of
// cols x rows equal cells, less `trim` pixels at the cell's right and bottom
// edge (the separator lines), drawn at (x, y) enlarged by `scale`. Cells that
// are not a whole number of pixels have their position and size rounded to
// the nearest pixel each (halves upwards). Nothing is drawn (nullopt)
// for index 0 and for any input that names no tile: an index beyond the
// sheet, an empty grid or sheet, a negative trim, a trim that eats the whole
// cell, or a scale that is not above 0.
std::optional<PicCopyRects> PicMapRects(int sheetWidth, int sheetHeight, int x, int y,
                                        int cols, int rows, int index, int trim,
                                        float scale);

// Whole source into a target box, keeping the source's shape: it fills the
// target's width when the height that gives fits, otherwise the target's
// height, and is centred (an odd leftover pixel goes to the right or bottom
// band). Sizes are compared in exact integer arithmetic, so a source of the
// target's own shape fills it completely. nullopt when a size is not above 0.
std::optional<PicCopyRects> PicAspectRects(int sourceWidth, int sourceHeight,
                                           int targetWidth, int targetHeight);

// Portable copies on Bitmap; they return whether anything was drawn. The copy
// is plain, like the picture-box copy it stands for; to leave a sheet's
// magenta out, hand PicMapRects to StretchCopy with kSheetKeyColour.
bool PicMap(const Bitmap& sheet, Bitmap& target, int x, int y, int cols, int rows,
            int index, int trim, float scale);

// The factor is part of the callers' interface but the copy always runs at
// factor 1, so it is not read.
bool PicAspectCopy(const Bitmap& source, Bitmap& target, float factor);
