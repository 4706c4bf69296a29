#include "FaceView.h"

#include "FaceArtwork.h"
#include "FacePainter.h"
#include "widget/FaceControls.h"
#include "widget/frmMain.h"

void FaceView::Attach(HWND window, frmMain& model) noexcept {
    window_ = window;
    model_ = &model;
    LoadFaceArtwork(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)), model);
    tooltips_.Create(window, model);
}

void FaceView::LoadSheets() noexcept {
    if (model_ && window_) LoadSheetArtwork(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)), *model_);
}

void FaceView::DropSheets() noexcept {
    if (model_) DropSheetArtwork(*model_);
}

void FaceView::Paint(HDC dc) noexcept {
    if (!model_) return;
    try {
        painted_ = FaceFingerprint(*model_);
    } catch (...) {
        painted_ = 0;
    }
    PaintFace(dc, *model_);
}

void FaceView::OnTimer() noexcept {
    if (!model_ || !window_) return;
    try {
        if (FaceFingerprint(*model_) == painted_) return;
    } catch (...) {
    }
    InvalidateRect(window_, nullptr, FALSE);
    // The title's shadow moves with its text; the tools follow their controls.
    tooltips_.Relayout();
}

bool FaceView::OnNotify(LPARAM lParam) noexcept {
    return tooltips_.OnNotify(reinterpret_cast<const NMHDR*>(lParam));
}

bool FaceView::OnSetCursor(LPARAM lParam) noexcept {
    if (!model_ || !window_ || LOWORD(lParam) != HTCLIENT) return false;
    POINT p{};
    if (!GetCursorPos(&p) || !ScreenToClient(window_, &p)) return false;
    SetCursor(FaceCursor(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)), *model_, p.x, p.y));
    return true;
}
