#pragma once
#include <windows.h>

#include "platform/WindowView.h"

struct Bitmap;
class frmPic;

// The satellite window: borderless and black, the frmPic model's picture one pixel inside it.
class PicWindow : public WindowView {
public:
    explicit PicWindow(HINSTANCE instance);
    ~PicWindow() override;
    PicWindow(const PicWindow&) = delete;
    PicWindow& operator=(const PicWindow&) = delete;

    // Before the start sequence; the focus watch runs from here on.
    void Attach(frmPic& model);

    // WindowView
    void MoveTo(int left, int top) override;
    void Resize(int width, int height) override;
    int Left() override;
    int Top() override;
    void Show() override;
    void Hide() override;
    bool IsVisible() override;
    void SetCaption(const std::string& caption) override;
    void EnableDropShadow() override;
    std::uintptr_t Handle() override { return reinterpret_cast<std::uintptr_t>(hwnd_); }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void OnPaint() noexcept;
    void PaintContent(HDC dc) noexcept;
    void OnTimer() noexcept;
    bool OverPicture(int x, int y) const noexcept;

    HWND hwnd_ = nullptr;
    HINSTANCE instance_ = nullptr;
    frmPic* model_ = nullptr;
    const Bitmap* painted_ = nullptr;  // the picture on screen, to repaint when another arrives
};
