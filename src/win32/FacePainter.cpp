#include "FacePainter.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cwctype>
#include <map>
#include <string_view>
#include <tuple>
#include <vector>

#include "Text.h"
#include "UniqueHandle.h"
#include "widget/FaceControls.h"
#include "widget/FacePreview.h"
#include "widget/frmMain.h"

namespace {

COLORREF Rgb(Colour c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// The face is designed in pixels at 96 DPI: 8.25 pt is 11 pixels, 6.75 pt 9.
int FontPixels(float points) { return -static_cast<int>(std::lround(points * 96.0f / 72.0f)); }

bool SameFace(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

struct FaceFont {
    unique_hfont font;
    bool faceFound = false;              // the system had the face asked for, not a stand-in
    std::map<wchar_t, bool> glyphs;      // symbol glyphs known to exist in it
};

// Fonts live for the whole run: the face asks for the same five on every paint.
class FontCache {
public:
    FaceFont& Get(HDC dc, const FontSpec& spec) {
        const Key key{spec.name, static_cast<int>(std::lround(spec.points * 100)), spec.bold};
        auto it = fonts_.find(key);
        if (it != fonts_.end()) return it->second;
        FaceFont& f = fonts_[key];
        const std::wstring name = ToWide(spec.name);
        f.font.reset(CreateFontW(FontPixels(spec.points), 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                 FALSE, spec.symbol ? SYMBOL_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
        if (f.font) {
            // Where a face is missing, GDI silently hands out another one; its letters would
            // stand where the symbols belong.
            SelectObjectScope select(dc, f.font.get());
            wchar_t face[LF_FACESIZE] = {};
            GetTextFaceW(dc, LF_FACESIZE, face);
            f.faceFound = SameFace(face, name);
        }
        return f;
    }

private:
    struct Key {
        std::string name;
        int centiPoints;
        bool bold;
        bool operator<(const Key& o) const {
            return std::tie(name, centiPoints, bold) < std::tie(o.name, o.centiPoints, o.bold);
        }
    };
    std::map<Key, FaceFont> fonts_;
};

FontCache& Fonts() {
    static FontCache cache;
    return cache;
}

// Symbol fonts map their glyphs at U+F020..U+F0FF.
wchar_t SymbolChar(unsigned char code) { return static_cast<wchar_t>(0xF000 | code); }

bool HasGlyph(HDC dc, FaceFont& f, wchar_t ch) {
    auto it = f.glyphs.find(ch);
    if (it != f.glyphs.end()) return it->second;
    WORD index = 0xFFFF;
    const bool found = GetGlyphIndicesW(dc, &ch, 1, &index, GGI_MARK_NONEXISTING_GLYPHS) == 1 && index != 0xFFFF;
    f.glyphs[ch] = found;
    return found;
}

// The symbols the face uses, drawn by hand for systems without Wingdings or Marlett. Shapes are
// laid out in the label's cell where the font would put them.
enum class Symbol { None, BoxWithCross, Box, Minimise, ArrowUp, ArrowRight, ArrowDown };

Symbol SymbolOf(const FontSpec& font, unsigned char code) {
    if (SameFace(ToWide(font.name), L"Marlett")) return code == '0' ? Symbol::Minimise : Symbol::None;
    switch (code) {
    case 0xFD: return Symbol::BoxWithCross;
    case 0xA8: return Symbol::Box;
    case 0xF1: return Symbol::ArrowUp;
    case 0xF0: return Symbol::ArrowRight;
    case 0xF2: return Symbol::ArrowDown;
    default: return Symbol::None;
    }
}

void DrawSymbol(HDC dc, Symbol symbol, const RECT& cell, Colour colour) {
    const int x = cell.left, y = cell.top;
    unique_hpen pen(CreatePen(PS_SOLID, 1, Rgb(colour)));
    unique_hbrush fill(CreateSolidBrush(Rgb(colour)));
    if (!pen || !fill) return;
    SelectObjectScope selectPen(dc, pen.get());
    SelectObjectScope selectBrush(dc, GetStockObject(NULL_BRUSH));
    auto line = [dc](int x0, int y0, int x1, int y1) {
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
    };
    switch (symbol) {
    case Symbol::BoxWithCross:
        Rectangle(dc, x + 1, y + 3, x + 11, y + 13);
        line(x + 3, y + 5, x + 9, y + 11);
        line(x + 8, y + 5, x + 2, y + 11);
        break;
    case Symbol::Box:
        Rectangle(dc, x + 2, y + 4, x + 11, y + 13);
        break;
    case Symbol::Minimise: {
        const RECT bar{x + 2, y + 8, x + 8, y + 10};
        FillRect(dc, &bar, fill.get());
        break;
    }
    case Symbol::ArrowUp: {
        const POINT p[] = {{x + 6, y + 2}, {x + 11, y + 7}, {x + 8, y + 7}, {x + 8, y + 12},
                           {x + 4, y + 12}, {x + 4, y + 7}, {x + 1, y + 7}};
        Polygon(dc, p, static_cast<int>(std::size(p)));
        break;
    }
    case Symbol::ArrowRight: {
        const POINT p[] = {{x + 11, y + 7}, {x + 6, y + 2}, {x + 6, y + 5}, {x + 1, y + 5},
                           {x + 1, y + 9}, {x + 6, y + 9}, {x + 6, y + 12}};
        Polygon(dc, p, static_cast<int>(std::size(p)));
        break;
    }
    case Symbol::ArrowDown: {
        const POINT p[] = {{x + 6, y + 12}, {x + 1, y + 7}, {x + 4, y + 7}, {x + 4, y + 2},
                           {x + 8, y + 2}, {x + 8, y + 7}, {x + 11, y + 7}};
        Polygon(dc, p, static_cast<int>(std::size(p)));
        break;
    }
    case Symbol::None:
        break;
    }
}

UINT AlignFlags(Alignment a) {
    switch (a) {
    case Alignment::Right: return DT_RIGHT;
    case Alignment::Center: return DT_CENTER;
    case Alignment::Left: break;
    }
    return DT_LEFT;
}

void PaintSymbolLabel(HDC dc, const Label& l, RECT cell, FaceFont& f) {
    std::wstring glyphs;
    bool drawable = f.faceFound;
    for (const char c : l.Caption) {
        const wchar_t ch = SymbolChar(static_cast<unsigned char>(c));
        glyphs += ch;
        drawable = drawable && HasGlyph(dc, f, ch);
    }
    if (drawable) {
        DrawTextW(dc, glyphs.data(), static_cast<int>(glyphs.size()), &cell,
                  DT_NOPREFIX | DT_SINGLELINE | DT_TOP | AlignFlags(l.Align));
        return;
    }
    // Never letters of a stand-in font: the known symbols by hand, anything else not at all.
    DrawSymbol(dc, SymbolOf(l.Font, static_cast<unsigned char>(l.Caption.front())), cell, l.ForeColor);
}

void PaintLabel(HDC dc, const Label& l) {
    if (!l.Visible || l.Caption.empty() || l.Width <= 0 || l.Height <= 0) return;
    RECT cell{l.Left, l.Top, l.Left + l.Width, l.Top + l.Height};
    FaceFont& f = Fonts().Get(dc, l.Font);
    if (!f.font) return;
    SelectObjectScope select(dc, f.font.get());
    SetTextColor(dc, Rgb(l.ForeColor));
    if (l.Font.symbol) {
        PaintSymbolLabel(dc, l, cell, f);
        return;
    }
    const std::wstring text = ToWide(l.Caption);
    UINT flags = DT_NOPREFIX | DT_TOP | AlignFlags(l.Align);
    flags |= l.WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    if (l.EndEllipsis) flags |= DT_END_ELLIPSIS;
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &cell, flags);
}

// Background and pictures go to the DC in one copy.
void PaintPictures(HDC dc, const std::vector<FaceControl>& controls, int width, int height) {
    const FacePixels face = ComposeFacePictures(controls, width, height);
    if (face.pixels.empty()) return;
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;  // top-down rows, as the pictures hold them
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), face.pixels.data(), &bmi, DIB_RGB_COLORS);
}

void PaintFaceContent(HDC dc, const frmMain& model) {
    const int width = model.Pic.Width, height = model.Pic.Height;
    if (width <= 0 || height <= 0) return;
    const std::vector<FaceControl> controls = FaceControls(model);
    // Fonts are made once; after that a paint must leave no GDI object behind.
    for (const FaceControl& c : controls)
        if (c.label) Fonts().Get(dc, c.label->Font);
#ifndef NDEBUG
    const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
#endif
    // No label overlaps a picture box, so labels can go over the finished pictures.
    PaintPictures(dc, controls, width, height);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    for (const FaceControl& c : controls)
        if (c.label) PaintLabel(dc, *c.label);
    SetBkMode(dc, oldMode);
#ifndef NDEBUG
    assert(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) == objectsBefore);
#endif
}

}  // namespace

void PaintFace(HDC dc, const frmMain& model) noexcept {
    try {
        PaintFaceContent(dc, model);
    } catch (...) {
        // Out of memory for the pixel buffer: this paint is lost, the next one tries again.
    }
}
