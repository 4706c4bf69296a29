#pragma once
#include <cstdint>
#include <string>

#include "platform/TrayPort.h"

// What the core asks of a real top-level window. Positions are pixels on the virtual screen.
class WindowView {
public:
    virtual ~WindowView() = default;
    virtual void MoveTo(int left, int top) = 0;
    virtual void Resize(int width, int height) = 0;
    virtual int Left() = 0;
    virtual int Top() = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void EnableDropShadow() = 0;
    virtual std::uintptr_t Handle() = 0;
    // The window's icon (task switcher, caption); an empty image restores the program's own.
    virtual void SetIcon(const IconImage&) {}
    // Asks the window to unload, as closing it would; it unloads when the message loop gets to it.
    virtual void Close() {}
};
