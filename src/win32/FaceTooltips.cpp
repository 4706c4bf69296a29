#include "FaceTooltips.h"

#include <commctrl.h>

#include <string_view>

#include "Text.h"
#include "widget/FaceControls.h"
#include "widget/frmMain.h"

namespace {

// Controls that never show a tooltip get no tool, so they cannot hide one of a control over them.
bool HasTool(const FaceControl& c) {
    if (c.shadow) return false;
    const std::string_view name = c.name;
    return name != "Pic" && name != "PicSatBG";
}

TTTOOLINFOW ToolFor(HWND face, UINT_PTR id, const FaceControl& c) {
    TTTOOLINFOW ti{};
    // The size of the oldest layout: version 5 of the common controls refuses larger ones.
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = face;
    ti.uId = id;
    ti.rect = RECT{c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height()};
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    return ti;
}

}  // namespace

bool FaceTooltips::Create(HWND face, const frmMain& model) noexcept {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    face_ = face;
    model_ = &model;
    // Always shown, also while another window is active: the widget sits on the desktop.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, face, nullptr,
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(face, GWLP_HINSTANCE)), nullptr);
    if (!tooltip_) return false;
    try {
        const auto controls = FaceControls(model);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (!HasTool(controls[i])) continue;
            TTTOOLINFOW ti = ToolFor(face_, i, controls[i]);
            SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        }
    } catch (...) {
        return false;
    }
    return true;
}

void FaceTooltips::Relayout() noexcept {
    if (!tooltip_ || !model_) return;
    try {
        const auto controls = FaceControls(*model_);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            if (!HasTool(controls[i])) continue;
            TTTOOLINFOW ti = ToolFor(face_, i, controls[i]);
            SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        }
    } catch (...) {
    }
}

bool FaceTooltips::OnNotify(const NMHDR* header) noexcept {
    if (!tooltip_ || !model_ || !header || header->hwndFrom != tooltip_ || header->code != TTN_GETDISPINFOW)
        return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
    text_.clear();
    try {
        const auto controls = FaceControls(*model_);
        const UINT_PTR id = header->idFrom;
        if (id < controls.size() && controls[id].Visible()) text_ = ToWide(controls[id].ToolTipText());
    } catch (...) {
        text_.clear();
    }
    // An empty text shows no tip at all, as the control had no tooltip.
    info->lpszText = text_.data();
    info->szText[0] = L'\0';
    info->hinst = nullptr;
    return true;
}
