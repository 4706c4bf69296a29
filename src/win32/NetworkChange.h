#pragma once
#include <windows.h>

// Posts `message` to a window whenever a network interface comes, goes or changes, for as long
// as it lives: the sign that a network that was away may be back.
class NetworkChange {
public:
    NetworkChange(HWND window, UINT message);
    ~NetworkChange();
    NetworkChange(const NetworkChange&) = delete;
    NetworkChange& operator=(const NetworkChange&) = delete;
    void Post() const;

private:
    HWND window_;
    UINT message_;
    HANDLE handle_ = nullptr;
};
