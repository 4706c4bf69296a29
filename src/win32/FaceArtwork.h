#pragma once
#include <windows.h>

class frmMain;

// Puts the background picture and the three picture sheets from the program's resources into
// the face's picture boxes. Call before the start sequence: its first refresh cuts from them.
void LoadFaceArtwork(HINSTANCE instance, frmMain& model) noexcept;

// The custom mouse pointer of the face at (x, y) in face pixels: the link pointer over the
// buttons, day headings and satellite thumbnail, the move pointer elsewhere.
HCURSOR FaceCursor(HINSTANCE instance, const frmMain& model, int x, int y) noexcept;
