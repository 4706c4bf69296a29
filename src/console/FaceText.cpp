#include "console/FaceText.h"

#include <algorithm>
#include <vector>

#include "service/mUTF8toWIN.h"
#include "system/Numbers.h"
#include "widget/frmMain.h"

namespace {

// A caption on one line: the day headings break with CR LF.
std::string Flat(const std::string& caption) {
    std::string out;
    for (const char c : caption) {
        if (c == '\n') continue;
        out.push_back(c == '\r' ? ' ' : c);
    }
    return Trim(out);
}

std::string Pair(const Label& a, const Label& b) { return Trim(Flat(a.Caption) + " " + Flat(b.Caption)); }

// The pressure trend is a Wingdings glyph on the face; a terminal shows the arrow it draws.
std::string TrendArrow(const std::string& glyph) {
    if (glyph == "\xF1") return "\xE2\x87\xA7";  // up
    if (glyph == "\xF0") return "\xE2\x87\xA8";  // level
    if (glyph == "\xF2") return "\xE2\x87\xA9";  // down
    return {};
}

// Cells joined by two blanks, empty ones left out, as UTF-8.
std::string Join(const std::vector<std::string>& cells) {
    std::string out;
    for (const std::string& cell : cells) {
        if (cell.empty()) continue;
        if (!out.empty()) out.append("  ");
        out.append(cell);
    }
    return out;
}

}  // namespace

std::string FaceText(const frmMain& main, const TrayTexts& tray) {
    std::string out = WINtoUTF8(main.lTitle[0].Caption) + "\n";

    const std::string arrow = TrendArrow(main.lPresTrend[0].Caption);
    const std::string pressure = WINtoUTF8(Flat(main.lPres[0].Caption));
    out += Join({WINtoUTF8(Flat(main.lDay[0].Caption)), WINtoUTF8(Flat(main.lTemp[0].Caption)),
                 WINtoUTF8(Pair(main.lTempG[0], main.lTempGx[0])), WINtoUTF8(Flat(main.lHumi[0].Caption)),
                 arrow.empty() ? pressure : Join({arrow, pressure}), WINtoUTF8(Pair(main.lWindD[0], main.lWindS[0])),
                 WINtoUTF8(Pair(main.lUV[0], main.lUVx[0]))}) +
           "\n";

    // Forecast days: Windows-1252 has one byte per character, so widths are byte counts here.
    const int days = std::clamp(main.MaxDays, 0, kColumns - 1);
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= days; ++i)
        rows.push_back({Flat(main.lDay[i].Caption), Flat(main.lTemp[i].Caption), Flat(main.lTempL[i].Caption),
                        Flat(main.lWindS[i].Caption), Flat(main.lWindNS[i].Caption), Pair(main.lUV[i], main.lUVx[i])});
    std::vector<std::size_t> widths(6, 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths[c] == 0) continue;
            if (!line.empty()) line.append("  ");
            // The temperatures stand right-aligned as on the face, the rest left-aligned.
            const std::string pad(widths[c] - row[c].size(), ' ');
            line.append(c == 1 || c == 2 ? pad + row[c] : row[c] + pad);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += WINtoUTF8(line) + "\n";
    }

    out += WINtoUTF8(Trim(tray.tip)) + "\n";
    return out;
}
