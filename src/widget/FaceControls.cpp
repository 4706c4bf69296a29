#include "widget/FaceControls.h"

#include <string_view>

#include "widget/FaceLayout.h"
#include "widget/PictureOps.h"
#include "widget/frmMain.h"

namespace {

void AddLabels(std::vector<FaceControl>& out, const char* name, const LabelArray& a) {
    for (int i = 0; i < kColumns; ++i)
        if (a[i].exists) out.push_back({name, i, &a[i], nullptr, false});
}

// Element 1 is the shadow of element 0 and is painted first.
void AddShadowed(std::vector<FaceControl>& out, const char* name, const LabelArray& a) {
    out.push_back({name, 1, &a[1], nullptr, true});
    out.push_back({name, 0, &a[0], nullptr, false});
}

void AddPictures(std::vector<FaceControl>& out, const char* name, const PictureArray& a) {
    for (int i = 0; i < kColumns; ++i)
        if (a[i].exists) out.push_back({name, i, nullptr, &a[i], false});
}

bool OnFace(const FaceControl& c) {
    return c.Left() < kFaceWidth && c.Top() < kFaceHeight && c.Left() + c.Width() > 0 && c.Top() + c.Height() > 0;
}

// FNV-1a over what makes up the face (whole pixels at a time: the background alone has 80,000).
struct Fingerprint {
    std::uint64_t h = 1469598103934665603ull;
    void Bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    }
    void Int(std::int64_t v) { Bytes(&v, sizeof v); }
    void Pixels(const std::uint32_t* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    }
    void Text(std::string_view s) {
        Int(static_cast<std::int64_t>(s.size()));
        Bytes(s.data(), s.size());
    }
};

}  // namespace

std::vector<FaceControl> FaceControls(const frmMain& f) {
    std::vector<FaceControl> out;
    out.reserve(128);
    out.push_back({"Pic", -1, nullptr, &f.Pic, false});
    AddShadowed(out, "lTitle", f.lTitle);
    AddShadowed(out, "lExit", f.lExit);
    AddShadowed(out, "lHide", f.lHide);
    AddLabels(out, "lDay", f.lDay);
    AddLabels(out, "lTemp", f.lTemp);
    AddLabels(out, "lTempL", f.lTempL);
    AddLabels(out, "lTempG", f.lTempG);
    AddLabels(out, "lTempGx", f.lTempGx);
    AddLabels(out, "lHumi", f.lHumi);
    AddLabels(out, "lPresTrend", f.lPresTrend);
    AddLabels(out, "lPres", f.lPres);
    AddLabels(out, "lWindD", f.lWindD);
    AddLabels(out, "lWindS", f.lWindS);
    AddLabels(out, "lWindNS", f.lWindNS);
    AddLabels(out, "lUV", f.lUV);
    AddLabels(out, "lUVx", f.lUVx);
    AddPictures(out, "PicDay", f.PicDay);
    AddPictures(out, "PicNight", f.PicNight);
    for (const auto& [name, box] : {std::pair{"PicMoon", &f.PicMoon}, std::pair{"PicWind", &f.PicWind},
                                    std::pair{"PicSatBG", &f.PicSatBG}, std::pair{"PicSat", &f.PicSat}})
        if (box->exists) out.push_back({name, -1, nullptr, box, false});
    std::erase_if(out, [](const FaceControl& c) { return !(c.label ? c.label->exists : c.picture->exists) || !OnFace(c); });
    return out;
}

std::optional<FaceControl> FaceControlAt(const frmMain& f, int x, int y) {
    if (x < 0 || y < 0 || x >= kFaceWidth || y >= kFaceHeight) return std::nullopt;
    const std::vector<FaceControl> all = FaceControls(f);
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (it->Visible() && it->Contains(x, y)) return *it;
    return std::nullopt;
}

std::uint64_t FaceFingerprint(const frmMain& f) {
    Fingerprint fp;
    for (const FaceControl& c : FaceControls(f)) {
        fp.Int(c.Left());
        fp.Int(c.Top());
        fp.Int(c.Width());
        fp.Int(c.Height());
        fp.Int(c.Visible());
        if (c.label) {
            const Label& l = *c.label;
            fp.Text(l.Caption);
            fp.Int(l.ForeColor);
            fp.Int(static_cast<int>(l.Align));
            fp.Text(l.Font.name);
            fp.Int(static_cast<std::int64_t>(l.Font.points * 100));
            fp.Int(l.Font.bold);
        } else {
            const PictureBox& p = *c.picture;
            fp.Int(p.BackColor);
            const PicPixels px = PicView(p);
            fp.Int(px.width);
            fp.Int(px.height);
            if (px.data) fp.Pixels(px.data, static_cast<std::size_t>(px.width) * static_cast<std::size_t>(px.height));
        }
    }
    return fp.h;
}
