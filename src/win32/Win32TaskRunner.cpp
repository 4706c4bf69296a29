#include "win32/Win32TaskRunner.h"

#include <memory>
#include <thread>

namespace {

constexpr wchar_t kClassName[] = L"WolkenglasTasks";
constexpr UINT kTaskDone = WM_APP + 2;
constexpr UINT kTaskCall = WM_APP + 3;

struct Continuation {
    std::function<void()> done;
};

}  // namespace

Win32TaskRunner::Win32TaskRunner(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Win32TaskRunner::WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

Win32TaskRunner::~Win32TaskRunner() {
    // Continuations still queued are dropped with the window (the program is ending).
    if (hwnd_) DestroyWindow(hwnd_);
}

void Win32TaskRunner::Run(std::function<void()> work, std::function<void()> done) {
    auto* continuation = new Continuation{std::move(done)};
    ++*running_;
    // The worker keeps only values and shared state: it never touches the runner itself.
    auto job = [work = std::move(work), continuation, hwnd = hwnd_, running = running_]() noexcept {
        try {
            work();
        } catch (...) {
            // The continuation finds the replies incomplete and takes its error path.
        }
        if (!PostMessageW(hwnd, kTaskDone, 0, reinterpret_cast<LPARAM>(continuation))) delete continuation;
        --*running;
    };
    auto shared = std::make_shared<decltype(job)>(std::move(job));
    try {
        std::thread([shared] { (*shared)(); }).detach();
    } catch (...) {
        (*shared)();  // no thread to be had: the work waits here rather than never runs
    }
}

void Win32TaskRunner::RunOnWindowThread(const std::function<void()>& call) {
    if (GetCurrentThreadId() == windowThread_) return call();
    // A sent message waits for the window thread, which takes it in its message loop or in the
    // loop of any message box it shows; with the window gone it returns at once.
    SendMessageW(hwnd_, kTaskCall, 0, reinterpret_cast<LPARAM>(&call));
}

LRESULT CALLBACK Win32TaskRunner::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == kTaskCall) {
        try {
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
        } catch (...) {
            // The caller finds no answer and goes on without one.
        }
        return 0;
    }
    if (msg != kTaskDone) return DefWindowProcW(hwnd, msg, wParam, lParam);
    std::unique_ptr<Continuation> continuation(reinterpret_cast<Continuation*>(lParam));
    try {
        continuation->done();
    } catch (...) {
        // Continuations keep their own error paths; nothing may unwind into the message loop.
    }
    return 0;
}
