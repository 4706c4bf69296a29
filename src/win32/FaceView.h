#pragma once
#include <windows.h>

#include <cstdint>

#include "FaceTooltips.h"

class frmMain;

// Everything the widget window does for its face, so the window class stays a thin shell:
// pictures from the resources (the sheets only while a refresh draws), painting, one tooltip
// control, the mouse pointers and the repaint when the model changed.
class FaceView {
public:
    // Before the start sequence: the background goes into the model and the tooltips are set up.
    void Attach(HWND window, frmMain& model) noexcept;
    // The picture sheets in the model while a refresh draws, and out again after it.
    void LoadSheets() noexcept;
    void DropSheets() noexcept;
    // Paints the whole face into a DC of the window's size (the back buffer).
    void Paint(HDC dc) noexcept;
    // Every tick of the title timer: repaints when anything on the face changed since the last
    // paint, whoever changed it.
    void OnTimer() noexcept;
    // WM_NOTIFY: true when the tooltip asked for a text.
    bool OnNotify(LPARAM lParam) noexcept;
    // WM_SETCURSOR over the client area: the face's own pointers; false to leave it to Windows.
    bool OnSetCursor(LPARAM lParam) noexcept;

private:
    HWND window_ = nullptr;
    frmMain* model_ = nullptr;
    FaceTooltips tooltips_;
    std::uint64_t painted_ = 0;
};
