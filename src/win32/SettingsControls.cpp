#include "SettingsControls.h"

#include <commctrl.h>

#include <string>

#include "Text.h"
#ifdef WG_HAVE_ARTWORK
#include "artwork_ids.h"
#endif

namespace {

constexpr int kFontPixels = -11;   // Tahoma 8.25 pt at 96 DPI, as on the widget
constexpr int kDropDownRows = 8;   // list height of an open combo box, in lines

unique_hfont MakeFont(const wchar_t* face, int weight, bool underline, DWORD pitch) {
    return unique_hfont(CreateFontW(kFontPixels, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, face));
}

struct WindowKind {
    const wchar_t* cls;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(const SetControl& c) {
    switch (c.kind) {
    case SetKind::Frame: return {WC_BUTTONW, BS_GROUPBOX, 0};
    // Only the first option is a tab stop: the arrow keys move inside the group.
    case SetKind::Option: return {WC_BUTTONW, static_cast<DWORD>(BS_AUTORADIOBUTTON | (c.index == 0 ? WS_TABSTOP : 0)), 0};
    case SetKind::Check: return {WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case SetKind::Combo: return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
    case SetKind::DropList: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case SetKind::Edit: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case SetKind::ReadOnlyEdit: return {WC_EDITW, ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case SetKind::Button: return {WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP, 0};
    case SetKind::Label: return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
    case SetKind::Link: return {WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
    case SetKind::Picture: return {WC_STATICW, SS_ICON, 0};
    }
    return {WC_STATICW, 0, 0};
}

}  // namespace

void SettingsControls::Create(HWND dialog, HINSTANCE instance) noexcept {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    form_ = MakeFont(L"Tahoma", FW_NORMAL, false, DEFAULT_PITCH | FF_SWISS);
    bold_ = MakeFont(L"Tahoma", FW_BOLD, false, DEFAULT_PITCH | FF_SWISS);
    link_ = MakeFont(L"Tahoma", FW_NORMAL, true, DEFAULT_PITCH | FF_SWISS);
    fixed_ = MakeFont(L"Courier New", FW_NORMAL, false, FIXED_PITCH | FF_MODERN);
#ifdef WG_HAVE_ARTWORK
    icon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 32, 32, 0)));
#endif
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance,
                               nullptr);
    const auto& design = SetDesign();
    windows_.clear();
    for (std::size_t i = 0; i < design.size(); ++i)
        windows_.push_back(Make(dialog, instance, design[i], kFirstId + static_cast<int>(i)));
}

HWND SettingsControls::Make(HWND dialog, HINSTANCE instance, const SetControl& c, int id) noexcept {
    const WindowKind kind = KindOf(c);
    // Every control but the second option starts a group, so the two options form the only one.
    const DWORD group = (c.kind == SetKind::Option && c.index != 0) ? 0 : WS_GROUP;
    int height = c.height;
    if (c.kind == SetKind::Combo || c.kind == SetKind::DropList) height += kDropDownRows * 14;
    std::wstring caption;
    try {
        caption = ToWide(c.caption);
    } catch (...) {
    }
    HWND w = CreateWindowExW(kind.exStyle, kind.cls, caption.c_str(), WS_CHILD | WS_VISIBLE | group | kind.style,
                             c.left, c.top, c.width, height, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!w) return nullptr;
    HFONT font = c.font == SetFont::Bold ? bold_.get() : c.font == SetFont::Fixed ? fixed_.get() : form_.get();
    if (c.kind == SetKind::Link) font = link_.get();
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind == SetKind::Picture && icon_) SendMessageW(w, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
    if (*c.tooltip) {
        std::wstring tip;
        try {
            tip = ToWide(c.tooltip);
        } catch (...) {
        }
        AddTool(dialog, w, tip.c_str());
        // The pointer over a combo box's text field is over that field's own window.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (c.kind == SetKind::Combo && GetComboBoxInfo(w, &info) && info.hwndItem)
            AddTool(dialog, info.hwndItem, tip.c_str());
    }
    return w;
}

void SettingsControls::AddTool(HWND dialog, HWND control, const wchar_t* text) noexcept {
    if (!tooltip_) return;
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;  // version 5 of the common controls refuses larger ones
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = dialog;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<wchar_t*>(text);  // the control keeps its own copy
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::size_t SettingsControls::Row(std::string_view name, int index) const {
    const auto& design = SetDesign();
    for (std::size_t i = 0; i < design.size() && i < windows_.size(); ++i)
        if (design[i].name == name && design[i].index == index) return i;
    return windows_.size();
}

std::size_t SettingsControls::RowOf(HWND window) const {
    for (std::size_t i = 0; i < windows_.size(); ++i)
        if (windows_[i] && (windows_[i] == window || IsChild(windows_[i], window))) return i;
    return windows_.size();
}

bool SettingsControls::IsLink(HWND window) const {
    const std::size_t row = RowOf(window);
    return row < windows_.size() && SetDesign()[row].kind == SetKind::Link;
}
