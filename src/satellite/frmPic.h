#pragma once
#include "platform/Bitmap.h"
#include "platform/WindowView.h"

class frmMain;

// The satellite picture window; loaded hidden at start, shown on demand.
class frmPic {
public:
    frmPic(WindowView& view, frmMain& main) : view_(view), main_(main) {}
    void Form_Load() { loaded_ = true; }
    void Form_Unload() { view_.Hide(); loaded_ = false; }
    bool Loaded() const { return loaded_; }

    Bitmap Pic;  // the whole satellite picture of the last refresh

private:
    WindowView& view_;
    [[maybe_unused]] frmMain& main_;
    bool loaded_ = false;
};
