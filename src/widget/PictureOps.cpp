#include "widget/PictureOps.h"

#include <utility>

#include "platform/Bitmap.h"
#include "satellite/BmpFile.h"
#include "satellite/PicScale.h"

void PicCls(PictureBox& box) {
    box.Image.reset();
    box.Tile = 0;
}

void PicEnsureImage(PictureBox& box) {
    if (!box.Image || box.Image->width != box.Width || box.Image->height != box.Height)
        box.Image = std::make_shared<Bitmap>(box.Width, box.Height, kPictureKeyColour);
}

bool PicSetImage(PictureBox& box, int width, int height, std::vector<std::uint32_t> pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return false;
    auto image = std::make_shared<Bitmap>();
    image->width = width;
    image->height = height;
    image->pixels = std::move(pixels);
    box.Image = std::move(image);
    box.Tile = 0;
    return true;
}

bool PicLoadFile(PictureBox& box, const std::filesystem::path& path) {
    auto image = LoadBmpFile(path);
    if (!image || image->empty()) return false;
    box.Image = std::make_shared<Bitmap>(std::move(*image));
    box.Tile = 0;
    return true;
}

bool PicMap(const PictureBox& sheet, PictureBox& target, int x, int y, int cols, int rows, int index,
            int trim, float scale) {
    if (!sheet.Image || sheet.Image->empty() || target.Width <= 0 || target.Height <= 0) return false;
    const auto rects = PicMapRects(sheet.Image->width, sheet.Image->height, x, y, cols, rows, index, trim, scale);
    if (!rects) return false;
    PicEnsureImage(target);
    StretchCopy(*sheet.Image, rects->src, *target.Image, rects->dst);
    target.Tile = index;
    return true;
}

PicPixels PicView(const PictureBox& box) {
    if (!box.Image || box.Image->empty()) return {};
    return {box.Image->pixels.data(), box.Image->width, box.Image->height};
}
