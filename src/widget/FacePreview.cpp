#include "widget/FacePreview.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/Bitmap.h"
#include "widget/PictureOps.h"

namespace {

constexpr std::uint32_t kFallbackBackground = 0x1A2533;

// 3 x 5 pixel glyphs, one row per byte, bit 2 the left column.
struct Glyph {
    char c;
    std::uint8_t rows[5];
};

constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'A', {2, 5, 7, 5, 5}}, {'B', {6, 5, 6, 5, 6}},
    {'C', {3, 4, 4, 4, 3}}, {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}},
    {'G', {3, 4, 5, 5, 3}}, {'H', {5, 5, 7, 5, 5}}, {'I', {7, 2, 2, 2, 7}}, {'J', {1, 1, 1, 5, 2}},
    {'K', {5, 5, 6, 5, 5}}, {'L', {4, 4, 4, 4, 7}}, {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}},
    {'O', {2, 5, 5, 5, 2}}, {'P', {6, 5, 6, 4, 4}}, {'Q', {2, 5, 5, 6, 3}}, {'R', {6, 5, 6, 5, 5}},
    {'S', {3, 4, 2, 1, 6}}, {'T', {7, 2, 2, 2, 2}}, {'U', {5, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'W', {5, 5, 7, 7, 5}}, {'X', {5, 5, 2, 5, 5}}, {'Y', {5, 5, 2, 2, 2}}, {'Z', {7, 1, 2, 4, 7}},
    {'.', {0, 0, 0, 0, 2}}, {',', {0, 0, 0, 2, 4}}, {':', {0, 2, 0, 2, 0}}, {'-', {0, 0, 7, 0, 0}},
    {'%', {5, 1, 2, 4, 5}}, {'/', {1, 1, 2, 4, 4}}, {'?', {6, 1, 2, 0, 2}}, {'(', {2, 4, 4, 4, 2}},
    {')', {2, 1, 1, 1, 2}}, {'|', {2, 2, 2, 2, 2}}, {'+', {0, 2, 7, 2, 0}}, {'\xB0', {2, 5, 2, 0, 0}},
    {'&', {2, 5, 2, 5, 3}}, {'\'', {2, 2, 0, 0, 0}}, {'"', {5, 5, 0, 0, 0}}, {'!', {2, 2, 2, 0, 2}},
};

constexpr std::uint8_t kBlock[5] = {7, 7, 7, 7, 7};

// Letters with marks and lower case fall back to the plain capital.
char BaseLetter(unsigned char c) {
    static constexpr std::string_view kFrom = "\xC4\xD6\xDC\xE4\xF6\xFC\xDF\xE9\xE8\xC9";
    static constexpr std::string_view kTo = "AOUAOUSEEE";
    const auto i = kFrom.find(static_cast<char>(c));
    if (i != std::string_view::npos) return kTo[i];
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    return static_cast<char>(c);
}

const std::uint8_t* RowsOf(unsigned char c) {
    const char base = BaseLetter(c);
    for (const Glyph& g : kGlyphs)
        if (g.c == base) return g.rows;
    return kBlock;
}

class Canvas {
public:
    Canvas(FacePixels& image, const Label& clip)
        : image_(image),
          x0_(std::max(0, clip.Left)),
          y0_(std::max(0, clip.Top)),
          x1_(std::min(image.width, clip.Left + clip.Width)),
          y1_(std::min(image.height, clip.Top + clip.Height)) {}

    void Set(int x, int y, std::uint32_t colour) {
        if (x >= x0_ && y >= y0_ && x < x1_ && y < y1_)
            image_.pixels[static_cast<std::size_t>(y) * image_.width + x] = colour;
    }

private:
    FacePixels& image_;
    int x0_, y0_, x1_, y1_;
};

int Advance(const Label& l) { return l.Font.bold ? 5 : 4; }
int LineHeight(const Label& l) { return l.Font.points < 8.0f ? 11 : 13; }

int TextWidth(const Label& l, std::string_view text) { return static_cast<int>(text.size()) * Advance(l); }

// Greedy word wrap, as the real labels break between words.
std::vector<std::string> Lines(const Label& l) {
    if (!l.WordWrap) return {l.Caption};
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start <= l.Caption.size()) {
        std::size_t end = l.Caption.find(' ', start);
        if (end == std::string::npos) end = l.Caption.size();
        const std::string word = l.Caption.substr(start, end - start);
        const std::string joined = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(l, joined) > l.Width) {
            lines.push_back(line);
            line = word;
        } else {
            line = joined;
        }
        start = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// The symbol-font glyphs the face uses, as small pictures.
void DrawSymbol(Canvas& canvas, const Label& l) {
    const unsigned char code = static_cast<unsigned char>(l.Caption.front());
    const int x = l.Left, y = l.Top;
    const std::uint32_t c = l.ForeColor;
    auto box = [&](int left, int top, int size) {
        for (int i = 0; i < size; ++i) {
            canvas.Set(left + i, top, c);
            canvas.Set(left + i, top + size - 1, c);
            canvas.Set(left, top + i, c);
            canvas.Set(left + size - 1, top + i, c);
        }
    };
    if (l.Font.name == "Marlett") {
        if (code == '0')
            for (int i = 0; i < 6; ++i) canvas.Set(x + 2 + i, y + 8, c), canvas.Set(x + 2 + i, y + 9, c);
        return;
    }
    if (code == 0xFD || code == 0xA8) {
        box(x + 1, y + 3, 10);
        if (code == 0xFD)
            for (int i = 0; i < 6; ++i) canvas.Set(x + 3 + i, y + 5 + i, c), canvas.Set(x + 8 - i, y + 5 + i, c);
        return;
    }
    // Arrows: a head of five rows and a shaft, turned for up, right and down.
    for (int i = 0; i < 11; ++i) {
        for (int j = 0; j < 11; ++j) {
            const bool head = i <= 5 && j >= 5 - i && j <= 5 + i;
            const bool shaft = i > 5 && j >= 3 && j <= 7;
            if (!head && !shaft) continue;
            if (code == 0xF1) canvas.Set(x + 1 + j, y + 2 + i, c);
            if (code == 0xF2) canvas.Set(x + 1 + j, y + 12 - i, c);
            if (code == 0xF0) canvas.Set(x + 11 - i, y + 2 + j, c);
        }
    }
}

void DrawLabel(FacePixels& image, const Label& l) {
    if (!l.Visible || l.Caption.empty()) return;
    Canvas canvas(image, l);
    if (l.Font.symbol) {
        DrawSymbol(canvas, l);
        return;
    }
    const int lineHeight = LineHeight(l);
    const int glyphTop = (lineHeight - 5) / 2 + 1;
    int top = l.Top;
    for (const std::string& line : Lines(l)) {
        const int width = TextWidth(l, line);
        int x = l.Left;
        if (l.Align == Alignment::Right) x = l.Left + l.Width - width;
        if (l.Align == Alignment::Center) x = l.Left + (l.Width - width) / 2;
        for (const char ch : line) {
            if (ch != ' ') {
                const std::uint8_t* rows = RowsOf(static_cast<unsigned char>(ch));
                for (int r = 0; r < 5; ++r)
                    for (int b = 0; b < 3; ++b)
                        if (rows[r] & (4 >> b)) {
                            canvas.Set(x + b, top + glyphTop + r, l.ForeColor);
                            if (l.Font.bold) canvas.Set(x + b + 1, top + glyphTop + r, l.ForeColor);
                        }
            }
            x += Advance(l);
        }
        top += lineHeight;
    }
}

}  // namespace

FacePixels ComposeFacePictures(const std::vector<FaceControl>& controls, int width, int height) {
    FacePixels image;
    if (width <= 0 || height <= 0) return image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kFallbackBackground);
    for (const FaceControl& c : controls) {
        if (!c.picture || !c.Visible()) continue;
        const PicPixels px = PicView(*c.picture);
        if (!px.data) continue;
        const bool background = c.index < 0 && std::string_view(c.name) == "Pic";
        const int x0 = std::max(0, c.Left()), y0 = std::max(0, c.Top());
        const int x1 = std::min({width, c.Left() + c.Width(), c.Left() + px.width});
        const int y1 = std::min({height, c.Top() + c.Height(), c.Top() + px.height});
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t p = px.at(x - c.Left(), y - c.Top());
                if (p == kPictureKeyColour && !background) continue;
                image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = p;
            }
        }
    }
    return image;
}

FacePixels RenderFacePreview(const std::vector<FaceControl>& controls, int width, int height) {
    FacePixels image = ComposeFacePictures(controls, width, height);
    if (image.pixels.empty()) return image;
    for (const FaceControl& c : controls)
        if (c.label) DrawLabel(image, *c.label);
    return image;
}
