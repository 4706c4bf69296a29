#include "console/FaceJson.h"

#include <cstdio>

#include "service/mUTF8toWIN.h"
#include "system/Cat.h"
#include "widget/frmMain.h"

namespace {

void AddControl(std::string& out, const char* name, int index, const Label* label, const PictureBox* picture) {
    out.append(out.back() == '[' ? "\n  " : ",\n  ");
    out.append("{\"name\": ").append(JsonString(name));
    out.append(", \"index\": ").append(std::to_string(index));
    out.append(", \"caption\": ").append(label ? JsonString(label->Caption) : "null");
    out.append(", \"tooltip\": ").append(JsonString(label ? label->ToolTipText : picture->ToolTipText));
    out.append(", \"tag\": ").append(label ? JsonString(label->Tag) : "null");
    out.append(", \"visible\": ").append((label ? label->Visible : picture->Visible) ? "true" : "false");
    out.append(", \"tile\": ").append(picture && picture->Tile > 0 ? std::to_string(picture->Tile) : "null");
    out.append("}");
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : WINtoUTF8(text)) {
        switch (c) {
            case '"': out.append("\\\""); break;
            case '\\': out.append("\\\\"); break;
            case '\n': out.append("\\n"); break;
            case '\r': out.append("\\r"); break;
            case '\t': out.append("\\t"); break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
                    out.append(escape);
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
    return out;
}

std::string HexColour(std::uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

std::string FaceJson(const frmMain& main, const TrayTexts& tray) {
    const Label& title = main.lTitle[0];
    std::string out = Cat("{\"title\": {\"caption\": ", JsonString(title.Caption), ", \"tooltip\": ",
                          JsonString(title.ToolTipText), ", \"color\": \"", HexColour(title.ForeColor),
                          "\"},\n \"controls\": [");
    const std::pair<const char*, const LabelArray*> labels[] = {
        {"lTitle", &main.lTitle}, {"lExit", &main.lExit},       {"lHide", &main.lHide},
        {"lDay", &main.lDay},     {"lTemp", &main.lTemp},       {"lTempL", &main.lTempL},
        {"lTempG", &main.lTempG}, {"lTempGx", &main.lTempGx},   {"lHumi", &main.lHumi},
        {"lPresTrend", &main.lPresTrend}, {"lPres", &main.lPres}, {"lWindD", &main.lWindD},
        {"lWindS", &main.lWindS}, {"lWindNS", &main.lWindNS},   {"lUV", &main.lUV},
        {"lUVx", &main.lUVx}};
    for (const auto& [name, array] : labels)
        for (int i = 0; i < kColumns; ++i)
            if ((*array)[i].exists) AddControl(out, name, i, &(*array)[i], nullptr);
    for (const auto& [name, array] : {std::pair{"PicDay", &main.PicDay}, std::pair{"PicNight", &main.PicNight}})
        for (int i = 0; i < kColumns; ++i)
            if ((*array)[i].exists) AddControl(out, name, i, nullptr, &(*array)[i]);
    const std::pair<const char*, const PictureBox*> pictures[] = {
        {"Pic", &main.Pic},         {"PicMoon", &main.PicMoon},         {"PicWind", &main.PicWind},
        {"PicSatBG", &main.PicSatBG}, {"PicSat", &main.PicSat},         {"PicIcon", &main.PicIcon},
        {"PicIconWind", &main.PicIconWind}, {"PicIconMoon", &main.PicIconMoon},
        {"PicProgIcon", &main.PicProgIcon}, {"PicTray", &main.PicTray}};
    for (const auto& [name, box] : pictures)
        if (box->exists) AddControl(out, name, -1, nullptr, box);
    out.append("\n ],\n \"tray\": {\"tip\": ").append(JsonString(tray.tip));
    out.append(", \"balloonTitle\": ").append(JsonString(tray.balloonTitle));
    out.append(", \"balloonText\": ").append(JsonString(tray.balloonText)).append("}}\n");
    return out;
}
