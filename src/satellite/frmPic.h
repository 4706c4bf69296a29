#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/PictureDecoder.h"
#include "platform/Ports.h"
#include "platform/WindowView.h"

// What the satellite window needs of the widget that opens it.
class PicOwner {
public:
    virtual Ports& Sys() = 0;
    // Where the widget is: the window is centred on the monitor that shows it.
    virtual ScreenRect OwnerRect() = 0;
    // The window hid: the thumbnail may open it again.
    virtual void PicHidden() = 0;

protected:
    ~PicOwner() = default;
};

// The satellite picture window: the picture at full size in a one-pixel black frame. Loaded
// hidden and far off the screen at start, centred on the widget's monitor when first shown,
// hidden again by any key, button or double-click and when it loses the foreground. It keeps the
// latest satellite picture as its JPEG bytes and holds it decoded only while it is shown.
class frmPic {
public:
    frmPic(WindowView& view, PicOwner& owner) : view_(view), main_(owner) {}

    // The decoder of the pictures it keeps as bytes.
    void AttachDecoder(PictureDecoder& decoder) { decoder_ = &decoder; }
    // A new satellite picture (checked by the refresh): decoded at once only while shown.
    void SetPicture(std::shared_ptr<const std::vector<std::uint8_t>> jpeg);

    void Form_Load();
    void Form_Unload();
    bool Loaded() const { return loaded_; }
    // Puts the picture one pixel inside the window and fits the window around it.
    void Resize();

    // The widget's thumbnail click: shows the window, or hides it when it is shown.
    void Toggle();
    // Every key, button and double-click on the window or its picture: hides the window and lets
    // the thumbnail open it again.
    void HideStep();
    // A mouse move over the picture, (x, y) relative to it: drags the window, without snapping.
    void Pic_MouseMove(int button, int x, int y);
    // Every 100 ms while shown: hides the window once another one has the foreground.
    void Timer1_Timer();
    static constexpr unsigned kTimer1Interval = 100;
    // The monitors changed: a shown window that no monitor shows enough of comes back.
    void Form_DisplayChange();

    float TWX = 15.0f, TWY = 15.0f;
    std::shared_ptr<Bitmap> Pic;  // the picture shown; null while hidden or before the first one
    PixelRect PicRect;            // where the picture box lies in the window, in pixels
    int Width = 0, Height = 0;    // the window's size in pixels

private:
    WindowView& view_;
    PicOwner& main_;
    bool loaded_ = false;
    bool placed_ = false;  // shown once: from then on it keeps its place
    PictureDecoder* decoder_ = nullptr;
    std::shared_ptr<const std::vector<std::uint8_t>> jpeg_;
    void Decode();
};
