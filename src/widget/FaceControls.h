#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "widget/Controls.h"

class frmMain;

// One control on the widget's face, as the painter, the tooltips and the mouse see it.
struct FaceControl {
    const char* name = "";  // the control's name: "lTemp", "PicDay", ...
    int index = -1;         // element of a control array; -1 for a single control
    const Label* label = nullptr;        // exactly one of label and picture is set
    const PictureBox* picture = nullptr;
    bool shadow = false;    // the black copy behind a title or button

    int Left() const { return label ? label->Left : picture->Left; }
    int Top() const { return label ? label->Top : picture->Top; }
    int Width() const { return label ? label->Width : picture->Width; }
    int Height() const { return label ? label->Height : picture->Height; }
    bool Visible() const { return label ? label->Visible : picture->Visible; }
    const std::string& ToolTipText() const { return label ? label->ToolTipText : picture->ToolTipText; }
    bool HandPointer() const { return label ? label->HandPointer : picture->HandPointer; }
    bool Contains(int x, int y) const {
        return x >= Left() && y >= Top() && x < Left() + Width() && y < Top() + Height();
    }
};

// Every control that lies on the face, in painting order from the back: the background, the
// labels (each shadow before its element), then the picture boxes. Labels are windowless and so
// lie under every picture box. The order and count never change for a given window, so a
// position in this list identifies a control for as long as the window lives.
std::vector<FaceControl> FaceControls(const frmMain& form);

// The visible control in front at (x, y), face coordinates; nothing outside the face.
std::optional<FaceControl> FaceControlAt(const frmMain& form, int x, int y);

// Changes whenever anything the face shows changes (texts, colours, places, pictures); the host
// repaints when it does.
std::uint64_t FaceFingerprint(const frmMain& form);
