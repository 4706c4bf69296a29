#pragma once

// The fixed geometry of the widget's face, in pixels.
inline constexpr int kFaceWidth = 388;
inline constexpr int kFaceHeight = 213;

// Room for this many columns; MaxDays says how many are used.
inline constexpr int kColumnTableSize = 10;
inline constexpr int kPictureSize = 40;
inline constexpr int kDayPictureTop = 51;
inline constexpr int kNightPictureTop = kDayPictureTop + kPictureSize + 1;

// Left edge of column n's pictures: the current conditions at 5, the first forecast day at 91,
// every further day 42 pixels on. Columns outside the table give -1.
int ColumnX(int n);

// Right edge (exclusive) that the right-aligned values of column n share, a little inside the
// column's pictures; -1 outside the table.
int ColumnRight(int n);
