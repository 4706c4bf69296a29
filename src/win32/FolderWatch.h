#pragma once
#include <windows.h>

#include <string>

// A change notification on one folder (file names, sizes, write times), for the message loop to
// wait on beside the window messages. Not every folder can be watched (some network shares):
// then Handle() is null and the caller polls.
class FolderWatch {
public:
    explicit FolderWatch(const std::wstring& folder) noexcept;
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    HANDLE Handle() const noexcept { return handle_; }
    // After the handle was signalled: wait for the next change.
    void Next() noexcept;

private:
    HANDLE handle_ = nullptr;
};
