#pragma once
#include <windows.h>

class frmMain;

// Puts the background picture from the program's resources into the face. Call before the start
// sequence.
void LoadFaceArtwork(HINSTANCE instance, frmMain& model) noexcept;

// The three picture sheets (weather, wind, moon) from the resources into their boxes, and out
// again: a refresh cuts its tiles from them, and nothing else reads them, so they are decoded
// for it and not held all day.
void LoadSheetArtwork(HINSTANCE instance, frmMain& model) noexcept;
void DropSheetArtwork(frmMain& model) noexcept;

// The custom mouse pointer of the face at (x, y) in face pixels: the link pointer over the
// buttons, day headings and satellite thumbnail, the move pointer elsewhere.
HCURSOR FaceCursor(HINSTANCE instance, const frmMain& model, int x, int y) noexcept;
