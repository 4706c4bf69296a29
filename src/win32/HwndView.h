#pragma once
#include <windows.h>

#include "platform/WindowView.h"

// What the program's three real windows share as WindowView: place, size, visibility and caption
// of one top-level window.
class HwndView : public WindowView {
public:
    void MoveTo(int left, int top) override;
    void Resize(int width, int height) override;
    int Left() override;
    int Top() override;
    void Hide() override;
    bool IsVisible() override;
    void SetCaption(const std::string& caption) override;
    std::uintptr_t Handle() override { return reinterpret_cast<std::uintptr_t>(hwnd_); }

protected:
    HWND hwnd_ = nullptr;

private:
    RECT NormalRect() const;
};
