#pragma once
#include "platform/FileSystem.h"

// Files on Linux, for tests and console front ends. Paths are used as given.
class NativeFileSystem : public FileSystem {
public:
    std::int64_t FileSize(std::string_view path) override;
    std::unique_ptr<FileReader> OpenRead(std::string_view path) override;
    bool WriteFile(std::string_view path, std::string_view bytes) override;
    bool RemoveFile(std::string_view path) override;
    bool WriteNewFile(std::string_view path, std::string_view bytes) override;
    bool RenameFile(std::string_view from, std::string_view to) override;
    // Linux removes no file when its holder ends; nothing here hands over to a script.
    bool HoldUntilExit(std::string_view) override { return false; }
};
