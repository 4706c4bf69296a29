#pragma once
#include <vector>

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// What the desktop looks like now: monitors and the screen's twips per pixel.
class Display {
public:
    virtual ~Display() = default;
    virtual std::vector<ScreenRect> Monitors() = 0;
    virtual float TwipsPerPixelX() = 0;
    virtual float TwipsPerPixelY() = 0;
};
