// The widget's picture files: a BMP into a picture box, the face preview out as a PNG. Apart from
// PictureOps.cpp and FacePreview.cpp, so that a host that has its pictures in its resources
// (Wolkenglas.exe) links no file streams and none of the locale machinery they bring along.
#include <utility>

#include "platform/Bitmap.h"
#include "satellite/BmpFile.h"
#include "satellite/PngFile.h"
#include "widget/FacePreview.h"
#include "widget/PictureOps.h"

bool PicLoadFile(PictureBox& box, const std::filesystem::path& path) {
    auto image = LoadBmpFile(path);
    if (!image || image->empty()) return false;
    box.Image = std::make_shared<Bitmap>(std::move(*image));
    box.Tile = 0;
    return true;
}

bool SaveFacePreviewPng(const FacePixels& image, const std::filesystem::path& path) {
    Bitmap bitmap(image.width, image.height);
    if (bitmap.empty()) return false;
    bitmap.pixels = image.pixels;
    return SavePngFile(bitmap, path);
}
