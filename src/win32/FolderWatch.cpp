#include "FolderWatch.h"

FolderWatch::FolderWatch(const std::wstring& folder) noexcept {
    if (folder.empty()) return;
    const HANDLE h = FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    if (h != INVALID_HANDLE_VALUE) handle_ = h;
}

FolderWatch::~FolderWatch() {
    if (handle_) FindCloseChangeNotification(handle_);
}

void FolderWatch::Next() noexcept {
    if (handle_ && !FindNextChangeNotification(handle_)) {
        // The folder went away: the caller falls back to polling.
        FindCloseChangeNotification(handle_);
        handle_ = nullptr;
    }
}
