#include "FaceArtwork.h"

#include <utility>

#include "Com.h"
#include "WicDecoder.h"
#include "widget/FaceControls.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"
#ifdef WG_HAVE_ARTWORK
#include "artwork_ids.h"
#endif

namespace {

// A picture of the resources (a PNG in RCDATA) as the box's image.
bool LoadPicture(HINSTANCE instance, int id, PictureBox& box) {
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    auto picture = DecodePicture(data, SizeofResource(instance, found));
    return picture && PicSetImage(box, picture->width, picture->height, std::move(picture->pixels));
}

}  // namespace

void LoadFaceArtwork([[maybe_unused]] HINSTANCE instance, [[maybe_unused]] frmMain& model) noexcept {
#ifdef WG_HAVE_ARTWORK
    // A picture that does not decode leaves its box empty: the face still comes up, plainer.
    const ComApartment com;
    try {
        LoadPicture(instance, IDB_BACKGROUND, model.Pic);
    } catch (...) {
        // Without memory for the picture the face stays plain; the program still works.
    }
#endif
}

void LoadSheetArtwork([[maybe_unused]] HINSTANCE instance, [[maybe_unused]] frmMain& model) noexcept {
#ifdef WG_HAVE_ARTWORK
    const ComApartment com;
    try {
        LoadPicture(instance, IDB_WEATHER, model.PicIcon);
        LoadPicture(instance, IDB_WIND, model.PicIconWind);
        LoadPicture(instance, IDB_MOON, model.PicIconMoon);
    } catch (...) {
        // A sheet without memory leaves its tiles empty this time.
    }
#endif
}

void DropSheetArtwork(frmMain& model) noexcept {
    for (PictureBox* sheet : {&model.PicIcon, &model.PicIconWind, &model.PicIconMoon}) PicCls(*sheet);
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
