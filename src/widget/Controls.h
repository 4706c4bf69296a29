#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

// The pixels live in platform/Bitmap.h; the face only holds them, so a declaration keeps this
// header light for everything that includes the window models.
struct Bitmap;

// Colours are 0xRRGGBB.
using Colour = std::uint32_t;

// Pixels of this colour in a picture are "no picture": the face shows through there, and the
// tray icon takes them as transparent.
inline constexpr Colour kPictureKeyColour = 0xFF00FF;

struct FontSpec {
    std::string name = "Tahoma";
    float points = 8.25f;
    bool bold = false;
    bool symbol = false;  // symbol character set (Wingdings, Marlett)
};

enum class Alignment { Left, Right, Center };

// A transparent label on the widget's face. Positions and sizes are pixels.
struct Label {
    bool exists = false;  // control arrays do not have every element
    std::string Caption;
    std::string ToolTipText;
    std::string Tag;
    Colour ForeColor = 0x000000;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    FontSpec Font;
    Alignment Align = Alignment::Left;
    bool Visible = true;
    bool WordWrap = false;     // breaks between words onto further lines, else one clipped line
    bool EndEllipsis = false;  // a single line that does not fit ends in "..."
    bool HandPointer = false;  // shows the custom mouse pointer
};

// A rectangle of the face that shows its persistent image (when it has one), of the box's size.
// Pixels of kPictureKeyColour are not painted: the background's artwork has a dark well under
// every picture box, and the sheets' edges are blended for it.
struct PictureBox {
    bool exists = false;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    Colour BackColor = 0x000000;
    std::string ToolTipText;
    bool Visible = true;
    bool Enabled = true;
    bool HandPointer = false;
    std::shared_ptr<Bitmap> Image;  // null: cleared
    int Tile = 0;  // the sheet tile last drawn into the box (PicMap); 0 when it shows none
};

// Element 0 is the current-conditions column, 1 to 7 the forecast days.
inline constexpr int kColumns = 8;
using LabelArray = std::array<Label, kColumns>;
using PictureArray = std::array<PictureBox, kColumns>;
