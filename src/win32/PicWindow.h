#pragma once
#include <windows.h>

#include "HwndView.h"

struct Bitmap;
class frmPic;

// The satellite window: borderless and black, the frmPic model's picture one pixel inside it.
class PicWindow : public HwndView {
public:
    explicit PicWindow(HINSTANCE instance);
    ~PicWindow() override;
    PicWindow(const PicWindow&) = delete;
    PicWindow& operator=(const PicWindow&) = delete;

    // Before the start sequence; the focus watch runs from here on.
    void Attach(frmPic& model);

    // After the message loop handled its messages: a picture that arrived or went is painted.
    void AfterMessages() noexcept;

    // WindowView
    void Show() override;
    void EnableDropShadow() override;

private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;
    void OnPaint() noexcept;
    void PaintContent(HDC dc) noexcept;
    void OnTimer(UINT_PTR id) noexcept override;
    bool OverPicture(int x, int y) const noexcept;

    HINSTANCE instance_ = nullptr;
    frmPic* model_ = nullptr;
    const Bitmap* painted_ = nullptr;  // the picture on screen, to repaint when another arrives
};
