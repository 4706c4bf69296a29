#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "HwndView.h"
#include "NetworkChange.h"
#include "SettingsControls.h"

class frmSet;

// The settings dialog's real window: real controls that show the frmSet model, and the user's
// input turned into its handlers. After every handler and every timer tick the controls follow
// the model; only what changed is touched.
class SettingsWindow : public HwndView {
public:
    explicit SettingsWindow(HINSTANCE instance);
    ~SettingsWindow() override;
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    void Attach(frmSet& model);
    HWND Hwnd() const { return hwnd_; }

    // Called by the message loop for every message before it is dispatched: the dialog's own keys
    // (Alt+F4, Enter in the place list and the search text), then Tab, arrows and mnemonics.
    // True when the message was handled and must not be dispatched.
    bool PreTranslate(MSG& msg) noexcept;

    // WindowView
    void Show() override;
    void EnableDropShadow() override {}

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void OnCommand(std::size_t row, UINT code) noexcept;
    void Sync() noexcept;

    // What each control shows now, so that a sync touches only what changed.
    struct Shown {
        std::string text;
        int check = -1;
        int enabled = -1;
    };
    void ShowText(std::size_t row, const std::string& text);
    void ShowCheck(std::size_t row, int check);
    void ShowEnabled(std::size_t row, bool enabled);
    void ShowPlaces();

    frmSet* model_ = nullptr;
    SettingsControls controls_;
    std::vector<Shown> shown_;
    std::vector<std::string> shownPlaces_;
    int shownPlace_ = -2;
    bool syncing_ = false;  // the controls' own notifications while the model is rendered
    std::unique_ptr<NetworkChange> network_;
};
