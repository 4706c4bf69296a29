#pragma once
#include <windows.h>

#include "FaceView.h"
#include "UniqueHandle.h"
#include "platform/WindowView.h"

class frmMain;

// The widget's real window: borderless, painted from the frmMain model through a back buffer.
class MainWindow : public WindowView {
public:
    explicit MainWindow(HINSTANCE instance);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void Attach(frmMain& model) { model_ = &model; face_.Attach(hwnd_, model); }
    void StartTimers();
    HWND Hwnd() const { return hwnd_; }

    // WindowView
    void MoveTo(int left, int top) override;
    void Resize(int width, int height) override;
    int Left() override;
    int Top() override;
    void Show() override;
    void Hide() override;
    bool IsVisible() override;
    void SetCaption(const std::string& caption) override;
    void EnableDropShadow() override;
    void Close() override;
    std::uintptr_t Handle() override { return reinterpret_cast<std::uintptr_t>(hwnd_); }
    void SetIcon(const IconImage& image) override;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void OnPaint() noexcept;
    void OnTimer(UINT_PTR id) noexcept;
    void OnButtonDown(UINT msg, LPARAM lParam) noexcept;
    void OnButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void ShowChanges() noexcept;
    void Unload() noexcept;

    HWND hwnd_ = nullptr;
    frmMain* model_ = nullptr;
    bool unloaded_ = false;
    FaceView face_;
    unique_hicon icon_;  // the weather picture as window icon; the class icon while empty
};

// Stands in for a window that has no real face yet; keeps only its visibility.
class HiddenWindowView : public WindowView {
public:
    void MoveTo(int, int) override {}
    void Resize(int, int) override {}
    int Left() override { return 0; }
    int Top() override { return 0; }
    void Show() override { visible_ = true; }
    void Hide() override { visible_ = false; }
    bool IsVisible() override { return visible_; }
    void SetCaption(const std::string&) override {}
    void EnableDropShadow() override {}
    std::uintptr_t Handle() override { return 0; }

private:
    bool visible_ = false;
};
