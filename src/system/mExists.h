#pragma once
#include <cstdint>
#include <string_view>

class FileSystem;

// Length of a normal file in bytes, or -1 when it is missing, hidden, a system file or unreadable.
std::int64_t FileSize(FileSystem& files, std::string_view path);
