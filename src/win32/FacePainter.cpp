#include "FacePainter.h"

#include "Text.h"
#include "UniqueHandle.h"
#include "widget/frmMain.h"

void PaintFace(HDC dc, const frmMain& model) noexcept {
    RECT all{0, 0, model.Pic.Width, model.Pic.Height};
    unique_hbrush background(CreateSolidBrush(RGB(0x20, 0x28, 0x34)));
    FillRect(dc, &all, background.get());
    const Label& title = model.lTitle[0];
    unique_hfont font(CreateFontW(-11, 0, 0, 0, title.Font.bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                  NONANTIALIASED_QUALITY, 0, L"Tahoma"));
    SelectObjectScope select(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    const Colour c = title.ForeColor;
    SetTextColor(dc, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
    const std::wstring text = ToWide(title.Caption);
    TextOutW(dc, title.Left, title.Top, text.c_str(), static_cast<int>(text.size()));
}
