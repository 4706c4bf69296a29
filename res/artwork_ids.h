#pragma once
// Resource ids of the widget's pictures (res/artwork.rc). Plain #defines so
// that both the resource compiler and C++ can read this file.
//
// The three sheets use magenta (#FF00FF) as their transparent colour:
// draw their tiles keyed on it (TransparentBlt) or let the tray icon's
// transparency rule take it out.

#define IDI_APP 1             // program icon: 16, 32 and 48 pixels, 32-bit with alpha

#define IDB_BACKGROUND 101    // 388 x 213 face of the widget
#define IDB_WEATHER 102       // 410 x 205: 10 x 5 tiles of 41, tile n = weather icon n
#define IDB_WIND 103          // 320 x 80: 8 x 2 tiles of 40, tile n = wind sector n
#define IDB_MOON 104          // 320 x 40: 8 x 1 tiles of 40, tile n = moon phase n

#define IDC_WG_HAND 201       // link pointer: buttons, day headings, satellite thumbnail
#define IDC_WG_MOVE 202       // four-way pointer: the draggable face
#define IDC_WG_CLOSE 203      // arrow with a close sign: the satellite picture, which a click closes
