#include "FaceArtwork.h"

#include <vector>

#include "UniqueHandle.h"
#include "widget/FaceControls.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"
#ifdef WG_HAVE_ARTWORK
#include "artwork_ids.h"
#endif

namespace {

// The pixels of a BITMAP resource as 0x00RRGGBB, top-down.
bool LoadPicture(HINSTANCE instance, int id, PictureBox& box) {
    unique_hbitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) return false;
    BITMAP info{};
    if (!GetObjectW(bitmap.get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    const int width = info.bmWidth, height = info.bmHeight;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    unique_hdc screen(CreateCompatibleDC(nullptr));
    if (!screen || GetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(), &bmi,
                             DIB_RGB_COLORS) != height)
        return false;
    for (std::uint32_t& p : pixels) p &= 0xFFFFFF;  // the fourth byte is not alpha here
    return PicSetImage(box, width, height, std::move(pixels));
}

}  // namespace

void LoadFaceArtwork([[maybe_unused]] HINSTANCE instance, [[maybe_unused]] frmMain& model) noexcept {
#ifdef WG_HAVE_ARTWORK
    try {
        LoadPicture(instance, IDB_BACKGROUND, model.Pic);
        LoadPicture(instance, IDB_WEATHER, model.PicIcon);
        LoadPicture(instance, IDB_WIND, model.PicIconWind);
        LoadPicture(instance, IDB_MOON, model.PicIconMoon);
    } catch (...) {
        // Without memory for the pictures the face stays plain; the program still works.
    }
#endif
}

HCURSOR FaceCursor([[maybe_unused]] HINSTANCE instance, const frmMain& model, int x, int y) noexcept {
    bool hand = false;
    try {
        const auto control = FaceControlAt(model, x, y);
        hand = control && control->HandPointer();
    } catch (...) {
    }
#ifdef WG_HAVE_ARTWORK
    // Cursors from resources are shared; they are never destroyed.
    static HCURSOR handCursor = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_WG_HAND));
    static HCURSOR moveCursor = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_WG_MOVE));
    if (hand && handCursor) return handCursor;
    if (!hand && moveCursor) return moveCursor;
#endif
    return LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW);
}
