#pragma once
#include <string_view>

// What a double-click on a control of the widget's face does.
enum class DblClickAction {
    None,
    Settings,  // open the settings dialog, once it is ready
    Link,      // open the web page of the day heading
};

// How a control of the face answers the mouse, by control name (every element of an array alike;
// a shadow answers like its element). "frmMain" is the window itself, where no control lies.
struct ControlActions {
    std::string_view name;
    DblClickAction dblClick;
    bool drags;  // its mouse moves drag the window
};

inline constexpr ControlActions kControlActions[] = {
    {"frmMain", DblClickAction::Settings, true},
    {"Pic", DblClickAction::Settings, true},
    {"lTitle", DblClickAction::None, true},
    {"lExit", DblClickAction::None, false},
    {"lHide", DblClickAction::None, false},
    {"lDay", DblClickAction::Link, true},
    {"lTemp", DblClickAction::Settings, true},
    {"lTempL", DblClickAction::Settings, true},
    {"lTempG", DblClickAction::Settings, false},
    {"lTempGx", DblClickAction::Settings, false},
    {"lHumi", DblClickAction::Settings, true},
    {"lPres", DblClickAction::Settings, true},
    {"lPresTrend", DblClickAction::Settings, true},
    {"lWindD", DblClickAction::None, true},
    {"lWindS", DblClickAction::Settings, true},
    {"lWindNS", DblClickAction::Settings, true},
    {"lUV", DblClickAction::Settings, true},
    {"lUVx", DblClickAction::None, true},
    {"PicDay", DblClickAction::Settings, true},
    {"PicNight", DblClickAction::Settings, true},
    {"PicMoon", DblClickAction::Settings, true},
    {"PicWind", DblClickAction::Settings, true},
    {"PicSatBG", DblClickAction::None, false},
    {"PicSat", DblClickAction::None, true},
};

// The row of a control; a name that is not in the table does nothing.
constexpr ControlActions ActionsOf(std::string_view name) {
    for (const ControlActions& a : kControlActions)
        if (a.name == name) return a;
    return {name, DblClickAction::None, false};
}
