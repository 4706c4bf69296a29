#pragma once
#include <windows.h>

#include <string>

class frmMain;

// The face's one tooltip control: a tool for every control that can show a tooltip, each asking
// the model for its text at the moment the tip appears, so texts the refresh writes show at once.
class FaceTooltips {
public:
    FaceTooltips() = default;
    FaceTooltips(const FaceTooltips&) = delete;
    FaceTooltips& operator=(const FaceTooltips&) = delete;

    // Creates the tooltip control for the face window; false when the system refuses it.
    bool Create(HWND face, const frmMain& model) noexcept;
    // Answers the tooltip's request for a text; true when `header` was one of ours.
    bool OnNotify(const NMHDR* header) noexcept;
    // Moves the tools after controls moved (the title line's shadow follows its text).
    void Relayout() noexcept;

private:
    HWND face_ = nullptr;
    HWND tooltip_ = nullptr;  // owned by the face window, which destroys it with itself
    const frmMain* model_ = nullptr;
    std::wstring text_;       // the text handed out last; must outlive the notification
};
