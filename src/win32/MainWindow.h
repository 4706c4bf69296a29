#pragma once
#include <windows.h>

#include "FaceView.h"
#include "UniqueHandle.h"
#include "HwndView.h"

class frmMain;

// The widget's real window: borderless, painted from the frmMain model through a back buffer.
class MainWindow : public HwndView {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void Attach(frmMain& model) { model_ = &model; face_.Attach(hwnd_, model); }
    // Without a change notification on the program's folder the close marker is polled.
    void PollCloseMarker();
    // The close marker may have appeared: unloads the widget when it has.
    void CheckCloseMarker() noexcept;
    // After the message loop handled its messages: the title's colour follows the focus and the
    // face is repainted when anything on it changed, whoever changed it.
    void AfterMessages() noexcept;

    // WindowView
    void Show() override;
    void MoveTo(int left, int top) override;
    void SetCaption(const std::string& caption) override;
    void EnableDropShadow() override;
    void Close() override;
    void SetIcon(const IconImage& image) override;
    void LoadSheets() override { face_.LoadSheets(); }
    void DropSheets() override { face_.DropSheets(); }

private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override;
    void OnPaint() noexcept;
    void OnTimer(UINT_PTR id) noexcept override;
    void OnButtonDown(UINT msg, LPARAM lParam) noexcept;
    void OnButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void ShowChanges() noexcept;
    void FollowFocus() noexcept;
    void Unload() noexcept;

    frmMain* model_ = nullptr;
    bool unloaded_ = false;
    bool movingSelf_ = false;  // the program's own move, which the lock lets through
    FaceView face_;
    unique_hicon icon_;  // the weather picture as window icon; the class icon while empty
    UINT liveHandlesMessage_ = 0;  // asked by the soak run: the handles alive, by kind
};
