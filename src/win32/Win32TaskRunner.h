#pragma once
#include <windows.h>

#include <atomic>
#include <memory>

#include "platform/TaskRunner.h"

// Runs work on a thread of its own and the continuation on the thread that made the runner (the
// window thread), through a message to a message-only window. Workers are detached: a program
// that ends while one waits on the network does not wait for it (see Busy).
class Win32TaskRunner : public TaskRunner {
public:
    explicit Win32TaskRunner(HINSTANCE instance);
    ~Win32TaskRunner() override;
    Win32TaskRunner(const Win32TaskRunner&) = delete;
    Win32TaskRunner& operator=(const Win32TaskRunner&) = delete;

    void Run(std::function<void()> work, std::function<void()> done) override;
    void RunOnWindowThread(const std::function<void()>& call) override;
    // True while a worker has not finished its work.
    bool Busy() const { return *running_ > 0; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    HWND hwnd_ = nullptr;
    DWORD windowThread_ = GetCurrentThreadId();
    std::shared_ptr<std::atomic<int>> running_ = std::make_shared<std::atomic<int>>(0);
};
