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
    // Asks the window to unload as Alt+F4 does; the host runs the unload handlers.
    virtual void Close() {}
    // The picture sheets the face's tiles are cut from: in the model for as long as a refresh
    // draws, dropped after it. A host that keeps them loaded all along does nothing.
    virtual void LoadSheets() {}
    virtual void DropSheets() {}
};

// The sheets loaded for this object's lifetime: a refresh draws its pictures within one.
class SheetsLoaded {
public:
    explicit SheetsLoaded(WindowView& view) : view_(view) { view_.LoadSheets(); }
    ~SheetsLoaded() { view_.DropSheets(); }
    SheetsLoaded(const SheetsLoaded&) = delete;
    SheetsLoaded& operator=(const SheetsLoaded&) = delete;

private:
    WindowView& view_;
};
