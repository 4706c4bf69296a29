#pragma once
#include <windows.h>

class frmMain;

// Paints the whole widget face (background, pictures, labels) from the model into a DC of the
// window's size. Used by WM_PAINT through the back buffer.
void PaintFace(HDC dc, const frmMain& model) noexcept;
