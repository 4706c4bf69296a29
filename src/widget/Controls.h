#pragma once
#include <array>
#include <cstdint>
#include <string>

// Colours are 0xRRGGBB.
using Colour = std::uint32_t;

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
};

// A rectangle of the face that shows a picture: a tile of one of the sheets, or an image.
struct PictureBox {
    bool exists = false;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    Colour BackColor = 0x000000;
    std::string ToolTipText;
    bool Visible = true;
};

// Element 0 is the current-conditions column, 1 to 7 the forecast days.
inline constexpr int kColumns = 8;
using LabelArray = std::array<Label, kColumns>;
using PictureArray = std::array<PictureBox, kColumns>;
