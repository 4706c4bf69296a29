#include "system/mExists.h"

#include "platform/FileSystem.h"

std::int64_t FileSize(FileSystem& files, std::string_view path) {
    if (path.empty()) return -1;
    return files.FileSize(path);
}
