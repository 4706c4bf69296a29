#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class FileSystem;

// Standard CRC-32 (reflected polynomial 0xEDB88320, as zlib). The result is always the inverted
// running value: to continue over another block, pass ~previousResult as the start value.
std::uint32_t CRC32(std::span<const std::uint8_t> bytes, std::uint32_t start = 0xFFFFFFFFu);

// CRC-32 of a whole file, read in 4096-byte blocks; 0xFFFFFFFF when it cannot be opened or read.
std::uint32_t CRC32(FileSystem& files, std::string_view path);

// Exactly 8 upper-case hexadecimal digits with leading zeros.
std::string CRC32Hex(std::uint32_t crc);
