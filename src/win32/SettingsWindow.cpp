#include "SettingsWindow.h"

#include <commctrl.h>

#include <string_view>

#include "KeyState.h"
#include "Text.h"
#ifdef WG_HAVE_ARTWORK
#include "artwork_ids.h"
#endif
#include "settings/frmSet.h"

namespace {

constexpr wchar_t kClassName[] = L"WolkenglasSettings";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kNetworkChanged = WM_APP + 4;

// The model's check boxes and what a click on each runs.
struct CheckBinding {
    const char* name;
    CheckBox frmSet::*box;
    void (frmSet::*click)();
};
constexpr CheckBinding kChecks[] = {
    {"ckBalloon", &frmSet::ckBalloon, &frmSet::ckBalloon_Click},
    {"ckUpdate", &frmSet::ckUpdate, &frmSet::ckUpdate_Click},
    {"ckLock", &frmSet::ckLock, &frmSet::ckLock_Click},
    {"ckMag", &frmSet::ckMag, &frmSet::ckMag_Click},
    {"ckAutoStart", &frmSet::ckAutoStart, &frmSet::ckAutoStart_Click},
    {"ckRefresh", &frmSet::ckRefresh, nullptr},
};

// Buttons and link labels: a click runs the handler.
struct ClickBinding {
    const char* name;
    void (frmSet::*click)();
};
constexpr ClickBinding kClicks[] = {
    {"cSearch", &frmSet::cSearch_Click},     {"cChk", &frmSet::cChk_Click},   {"cOk", &frmSet::cOk_Click},
    {"lHomepage", &frmSet::lHomepage_Click}, {"lLink", &frmSet::lLink_Click}, {"lMail", &frmSet::lMail_Click},
};

// Which controls' enabled state and text the model holds besides the check boxes.
struct EnabledBinding {
    const char* name;
    bool frmSet::*enabled;
};
constexpr EnabledBinding kEnabled[] = {
    {"cSearch", &frmSet::cSearchEnabled}, {"cChk", &frmSet::cChkEnabled},
    {"coLoc", &frmSet::coLocEnabled},     {"tSearch", &frmSet::tSearchEnabled},
};
struct TextBinding {
    const char* name;
    std::string frmSet::*text;
};
constexpr TextBinding kTexts[] = {
    {"coMin", &frmSet::coMinText}, {"tSearch", &frmSet::tSearchText}, {"tCID", &frmSet::tCID},
    {"lTitle", &frmSet::lTitle},   {"lVersion", &frmSet::lVersion}, {"lLink", &frmSet::lLink},
};

std::string WindowText(HWND w) {
    const int n = GetWindowTextLengthW(w);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), n + 1)));
    return FromWide(text);
}

std::string ListText(HWND combo, LRESULT item) {
    const LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    if (n < 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return FromWide(text);
}

}  // namespace

SettingsWindow::SettingsWindow(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &SettingsWindow::WndProc;
    // Room for the dialog manager's data: DefDlgProc then gives Tab, mnemonics, the default
    // button and the focus kept across activation, as in any dialog.
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
#ifdef WG_HAVE_ARTWORK
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
#endif
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT r{0, 0, kSetClientWidth, kSetClientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    hwnd_ = CreateWindowExW(exStyle, kClassName, ToWide(kSetCaption).c_str(), style, left, top, width, height,
                            nullptr, nullptr, instance, this);
    if (!hwnd_) return;
    controls_.Create(hwnd_, instance);
    shown_.assign(controls_.Count(), Shown{});
    const auto& design = SetDesign();
    for (std::size_t i = 0; i < design.size() && i < shown_.size(); ++i) shown_[i].text = design[i].caption;
    if (HWND coMin = controls_.Window(controls_.Row("coMin")))
        for (const wchar_t* minutes : {L"10", L"15", L"30", L"60"})
            SendMessageW(coMin, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(minutes));
}

SettingsWindow::~SettingsWindow() {
    // The model may be gone already; the controls' last notifications must not reach it.
    model_ = nullptr;
    if (hwnd_) DestroyWindow(hwnd_);
}

void SettingsWindow::Attach(frmSet& model) {
    model_ = &model;
    Sync();
    SetTimer(hwnd_, kTimer1, frmSet::kTimer1Interval, nullptr);
    network_ = std::make_unique<NetworkChange>(hwnd_, kNetworkChanged);
}

LRESULT CALLBACK SettingsWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<SettingsWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefDlgProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefDlgProcW(hwnd, msg, wParam, lParam);
    }
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT SettingsWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
    case WM_COMMAND:
        // Enter and Esc send IDOK and IDCANCEL, which no control has: they do nothing here.
        if (lParam && LOWORD(wParam) >= SettingsControls::kFirstId) {
            OnCommand(LOWORD(wParam) - SettingsControls::kFirstId, HIWORD(wParam));
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam == kTimer1 && model_) {
            model_->Timer1_Timer();
            Sync();
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        if (controls_.IsLink(reinterpret_cast<HWND>(lParam))) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 255));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_SETCURSOR:
        if (controls_.IsLink(reinterpret_cast<HWND>(wParam))) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // The caption's close button: the dialog lives as long as the program and only hides.
        if (model_) model_->Hide();
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC && model_) model_->PowerResumed();
        return TRUE;
    case kNetworkChanged:
        if (model_) model_->NetworkChanged();
        return 0;
    default:
        break;
    }
    return DefDlgProcW(hwnd_, msg, wParam, lParam);
}

bool SettingsWindow::PreTranslate(MSG& msg) noexcept {
    if (!hwnd_ || !model_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        const int key = static_cast<int>(msg.wParam);
        const int shift = ShiftState();
        // The dialog sees every key before its controls do.
        model_->Form_KeyDown(key, shift);
        // Alt+F4 with any other shift key does nothing, and never closes the window the default way.
        bool handled = key == VK_F4 && (shift & kShiftAlt);
        if (key == VK_RETURN && msg.message == WM_KEYDOWN) {
            const std::size_t row = controls_.RowOf(msg.hwnd);
            const std::size_t coLoc = controls_.Row("coLoc");
            if (row == coLoc && !SendMessageW(controls_.Window(coLoc), CB_GETDROPPEDSTATE, 0, 0)) {
                model_->coLoc_KeyDown(key, shift);
                handled = true;
            } else if (row == controls_.Row("tSearch")) {
                model_->tSearch_KeyPress(VK_RETURN);
                handled = true;
            }
        }
        Sync();
        if (handled) return true;
    }
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void SettingsWindow::OnCommand(std::size_t row, UINT code) noexcept {
    if (!model_ || syncing_ || row >= controls_.Count()) return;
    const SetControl& c = SetDesign()[row];
    const std::string_view name = c.name;
    HWND w = controls_.Window(row);
    try {
        switch (c.kind) {
        case SetKind::Option:
            if (code == BN_CLICKED && c.index >= 0 && c.index < 2 && !model_->oMetric[c.index]) {
                model_->oMetric[c.index] = true;
                model_->oMetric[1 - c.index] = false;
                model_->oMetric_Click(c.index);
            }
            break;
        case SetKind::Check:
            if (code != BN_CLICKED) break;
            for (const CheckBinding& b : kChecks) {
                if (name != b.name) continue;
                const int value = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
                shown_[row].check = value;
                (model_->*b.box).Value = value;
                if (b.click) (model_->*b.click)();
            }
            break;
        case SetKind::Combo:
            if (code == CBN_EDITCHANGE) {
                model_->coMinText = shown_[row].text = WindowText(w);
            } else if (code == CBN_SELCHANGE) {
                const LRESULT item = SendMessageW(w, CB_GETCURSEL, 0, 0);
                if (item >= 0) model_->coMinText = shown_[row].text = ListText(w, item);
            }
            break;
        case SetKind::DropList:
            if (code == CBN_SELCHANGE) {
                const LRESULT item = SendMessageW(w, CB_GETCURSEL, 0, 0);
                model_->coLocListIndex = shownPlace_ = static_cast<int>(item);
                model_->coLocText = item >= 0 ? ListText(w, item) : std::string();
                model_->coLoc_Click();
            }
            break;
        case SetKind::Edit:
            if (code == EN_CHANGE) {
                model_->tSearchText = shown_[row].text = WindowText(w);
                model_->tSearch_Change();
            } else if (code == EN_SETFOCUS) {
                model_->tSearch_GotFocus();
            }
            break;
        case SetKind::Button:
        case SetKind::Link:
            if (code != BN_CLICKED && !(c.kind == SetKind::Link && code == STN_CLICKED)) break;
            for (const ClickBinding& b : kClicks)
                if (name == b.name) (model_->*b.click)();
            break;
        default:
            break;
        }
    } catch (...) {
        // A text that could not be copied: the control keeps its state, the model its own.
    }
    Sync();
}

void SettingsWindow::ShowText(std::size_t row, const std::string& text) {
    if (row >= shown_.size() || shown_[row].text == text) return;
    SetWindowTextW(controls_.Window(row), ToWide(text).c_str());
    shown_[row].text = text;
}

void SettingsWindow::ShowCheck(std::size_t row, int check) {
    if (row >= shown_.size() || shown_[row].check == check) return;
    SendMessageW(controls_.Window(row), BM_SETCHECK, check ? BST_CHECKED : BST_UNCHECKED, 0);
    shown_[row].check = check;
}

void SettingsWindow::ShowEnabled(std::size_t row, bool enabled) {
    if (row >= shown_.size() || shown_[row].enabled == (enabled ? 1 : 0)) return;
    EnableWindow(controls_.Window(row), enabled);
    shown_[row].enabled = enabled ? 1 : 0;
}

void SettingsWindow::ShowPlaces() {
    const std::size_t row = controls_.Row("coLoc");
    HWND w = controls_.Window(row);
    if (!w) return;
    if (shownPlaces_ != model_->coLocList) {
        SendMessageW(w, CB_RESETCONTENT, 0, 0);
        for (const std::string& place : model_->coLocList)
            SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(place).c_str()));
        shownPlaces_ = model_->coLocList;
        shownPlace_ = -2;
    }
    if (shownPlace_ != model_->coLocListIndex) {
        SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(model_->coLocListIndex), 0);
        shownPlace_ = model_->coLocListIndex;
    }
}

void SettingsWindow::Sync() noexcept {
    if (!model_ || !hwnd_ || syncing_) return;
    syncing_ = true;
    try {
        ShowCheck(controls_.Row("oMetric", 0), model_->oMetric[0] ? 1 : 0);
        ShowCheck(controls_.Row("oMetric", 1), model_->oMetric[1] ? 1 : 0);
        // The focus first: a handler that asks for it may disable the control in the same run.
        if (!model_->FocusRequest.empty()) {
            const std::size_t row = controls_.Row(model_->FocusRequest);
            if (HWND w = controls_.Window(row)) SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
            model_->FocusRequest.clear();
        }
        if (model_->tSearchSelectAll) {
            SendMessageW(controls_.Window(controls_.Row("tSearch")), EM_SETSEL, 0, -1);
            model_->tSearchSelectAll = false;
        }
        for (const CheckBinding& b : kChecks) {
            const std::size_t row = controls_.Row(b.name);
            ShowCheck(row, (model_->*b.box).Value ? 1 : 0);
            ShowEnabled(row, (model_->*b.box).Enabled);
        }
        for (const EnabledBinding& b : kEnabled) ShowEnabled(controls_.Row(b.name), model_->*b.enabled);
        for (const TextBinding& b : kTexts) ShowText(controls_.Row(b.name), model_->*b.text);
        ShowPlaces();
    } catch (...) {
        // Out of memory for a text: the next sync tries again.
    }
    syncing_ = false;
}

void SettingsWindow::Show() {
    Sync();
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);  // minimised from outside: back
    SetForegroundWindow(hwnd_);
}

