#include "console/SheetPictures.h"

#include <cstdint>
#include <span>

#include "satellite/BmpFile.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"

// The same BMP files the Windows program has in its resources, assembled into this object file
// (the build names the folder in WG_RES_DIR and rebuilds this file when a picture changes).
#define WG_SHEET(name, file)                                \
    ".balign 16\n" #name ":\n.incbin \"" WG_RES_DIR "/" file "\"\n" #name "_end:\n"
asm(".section .rodata\n"
    WG_SHEET(wg_sheet_weather, "weather.bmp")
    WG_SHEET(wg_sheet_wind, "wind.bmp")
    WG_SHEET(wg_sheet_moon, "moon.bmp")
    ".previous\n");
#undef WG_SHEET

extern "C" const std::uint8_t wg_sheet_weather[], wg_sheet_weather_end[], wg_sheet_wind[], wg_sheet_wind_end[],
    wg_sheet_moon[], wg_sheet_moon_end[];

namespace {
void Load(PictureBox& box, const std::uint8_t* begin, const std::uint8_t* end) {
    auto picture = DecodeBmp(std::span<const std::uint8_t>(begin, end));
    if (picture) PicSetImage(box, picture->width, picture->height, std::move(picture->pixels));
}
}  // namespace

void LoadSheetPictures(frmMain& main) {
    Load(main.PicIcon, wg_sheet_weather, wg_sheet_weather_end);
    Load(main.PicIconWind, wg_sheet_wind, wg_sheet_wind_end);
    Load(main.PicIconMoon, wg_sheet_moon, wg_sheet_moon_end);
}
