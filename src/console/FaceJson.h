#pragma once
#include <string>
#include <string_view>

#include "console/ConsolePorts.h"

class frmMain;

// A Windows-1252 text as a JSON string in UTF-8, quotes included.
std::string JsonString(std::string_view text);

// "#RRGGBB" of a colour 0xRRGGBB.
std::string HexColour(std::uint32_t colour);

// The widget as one JSON object: the title line, every label and picture box of frmMain
// (arrays element by element with their index, single controls with index -1), and the tray's
// texts. Pictures have no caption or tag (null); "tile" is the sheet tile a picture box shows,
// null when none, and always null for labels.
std::string FaceJson(const frmMain& main, const TrayTexts& tray);
