#include "widget/FaceLayout.h"

namespace {
constexpr int kCurrentX = 5;
constexpr int kFirstDayX = 91;
constexpr int kDayStep = 42;
}  // namespace

int ColumnX(int n) {
    if (n < 0 || n >= kColumnTableSize) return -1;
    return n == 0 ? kCurrentX : kFirstDayX + kDayStep * (n - 1);
}

int ColumnRight(int n) {
    // Two pixels inside the frame the background draws around each column.
    if (n == 0) return ColumnX(0) + 2 * kPictureSize + 1;
    const int x = ColumnX(n);
    return x < 0 ? -1 : x + kPictureSize - 2;
}
