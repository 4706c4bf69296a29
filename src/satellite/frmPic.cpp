#include "satellite/frmPic.h"

#include "system/mFormForeground.h"
#include "system/mFormMove.h"
#include "system/mWinVersion.h"

namespace {
constexpr int kFarAway = -65535;  // nothing of the window can show before it is placed
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;
constexpr int kMinFittedWidth = 32;  // a narrower picture leaves the window as it is
}  // namespace

void frmPic::Form_Load() {
    TWX = main_.Sys().display.TwipsPerPixelX();
    TWY = main_.Sys().display.TwipsPerPixelY();
    view_.MoveTo(kFarAway, kFarAway);
    if (IsNT5(main_.Sys().system)) view_.EnableDropShadow();
    PicRect.w = kPictureWidth;
    PicRect.h = kPictureHeight;
    Resize();
    loaded_ = true;
}

void frmPic::Form_Unload() {
    view_.Hide();
    loaded_ = false;
}

void frmPic::SetPicture(std::shared_ptr<const std::vector<std::uint8_t>> jpeg) {
    jpeg_ = std::move(jpeg);
    Pic.reset();
    if (view_.IsVisible()) Decode();
}

void frmPic::Decode() {
    if (Pic || !jpeg_ || !decoder_) return;
    try {
        if (auto picture = decoder_->DecodeBytes(*jpeg_)) Pic = std::make_shared<Bitmap>(std::move(*picture));
    } catch (...) {
        // No memory for the pixels: the window shows black.
    }
}

void frmPic::Resize() {
    PicRect.x = 1;
    PicRect.y = 1;
    if (PicRect.w < kMinFittedWidth) return;
    Width = PicRect.w + 2;
    Height = PicRect.h + 2;
    view_.Resize(Width, Height);
}

void frmPic::Toggle() {
    if (view_.IsVisible()) {
        HideStep();
        return;
    }
    if (!placed_) {
        // Centred on the monitor that shows the widget, which need not be the primary one.
        const ScreenRect widget = main_.OwnerRect();
        const ScreenRect m = main_.Sys().display.MonitorAt((widget.left + widget.right) / 2,
                                                           (widget.top + widget.bottom) / 2).bounds;
        view_.MoveTo(m.left + (m.Width() - Width) / 2, m.top + (m.Height() - Height) / 2);
        placed_ = true;
    } else {
        Form_DisplayChange();
    }
    Decode();
    view_.Show();
}

void frmPic::HideStep() {
    view_.Hide();
    // The bytes stay; the decoded picture (1.2 MiB) is made again when the window shows.
    if (jpeg_) Pic.reset();
    main_.PicHidden();
}

void frmPic::Pic_MouseMove(int button, int x, int y) {
    FormMove(main_.Sys().display, view_, Width, Height, button, x, y, 0);
}

void frmPic::Timer1_Timer() {
    if (view_.IsVisible() && !IsForeground(main_.Sys().system, view_.Handle())) HideStep();
}

void frmPic::Form_DisplayChange() {
    if (!placed_) return;  // still far away on purpose
    const ScreenRect window{view_.Left(), view_.Top(), view_.Left() + Width, view_.Top() + Height};
    if (const auto back = BringBack(main_.Sys().display, window)) view_.MoveTo(back->x, back->y);
}
