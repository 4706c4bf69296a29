#pragma once
#include <string>

#include "console/ConsolePorts.h"

class frmMain;

// The widget as lines of UTF-8 text: the title line, the current conditions (column 0), one
// line per forecast day with its values in aligned columns, and the tray tooltip.
std::string FaceText(const frmMain& main, const TrayTexts& tray);
