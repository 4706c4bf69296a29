#pragma once
#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "UniqueHandle.h"
#include "settings/SetDesign.h"

// The settings dialog's child controls, made from the design table: one window per row, in tab
// order, with their fonts, the program picture and one tooltip control with a tool per control.
class SettingsControls {
public:
    static constexpr int kFirstId = 100;  // clear of IDOK and IDCANCEL, which Enter and Esc send

    void Create(HWND dialog, HINSTANCE instance) noexcept;

    std::size_t Count() const { return windows_.size(); }
    HWND Window(std::size_t row) const { return row < windows_.size() ? windows_[row] : nullptr; }
    // The row of a control by name and array index; Count() when there is none.
    std::size_t Row(std::string_view name, int index = -1) const;
    // The row of a control window or of a window inside it (the edit part of a combo box).
    std::size_t RowOf(HWND window) const;
    bool IsLink(HWND window) const;

private:
    HWND Make(HWND dialog, HINSTANCE instance, const SetControl& c, int id) noexcept;
    void AddTool(HWND dialog, HWND control, const wchar_t* text) noexcept;

    std::vector<HWND> windows_;  // children of the dialog, destroyed with it
    HWND tooltip_ = nullptr;     // owned by the dialog, destroyed with it
    unique_hfont form_, bold_, fixed_, link_;
    unique_hicon icon_;
};
